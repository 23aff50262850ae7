#include "HeadlessEventView.h"

#include "ProtocolFile.h"
#include "TARNTool.h"

#include <ctime>

CHeadlessEventView::CHeadlessEventView(std::function<std::string()> protocolFile, std::FILE* output)
    : m_protocolFile(std::move(protocolFile)), m_pOutput(output) {}

void CHeadlessEventView::AddEventViewLine(int kind, const std::string& computer,
                                          const std::string& audition, const std::string& text) {
    std::string line =
        FormatProtocolLine(FormatDisplayTime(std::time(nullptr)), kind, audition, computer, text);
    std::lock_guard guard(m_lock);
    std::fputs(line.c_str(), m_pOutput);
    std::fflush(m_pOutput);
    std::string protocolFile = m_protocolFile();
    if (!protocolFile.empty())
        AppendProtocolLine(protocolFile, line); // a failing write loses the line, as in the view
}

void CHeadlessEventView::ShowMessage(const std::string& text) {
    std::lock_guard guard(m_lock);
    std::fprintf(stderr, "%s\n", text.c_str());
}
