#include "CHeadlessDBReporter.h"

#include "LUTool.h"
#include "MessageIds.h"
#include "StringTable.h"

namespace {}

CHeadlessDBReporter::CHeadlessDBReporter(DBPromptAnswer eAnswer, std::FILE* pOutput)
    : m_eAnswer(eAnswer), m_pOutput(pOutput) {}

void CHeadlessDBReporter::WriteMessage(const std::string& strCaption, const std::string& strText) {
    std::fprintf(m_pOutput, "%s: %s\n", strCaption.c_str(), strText.c_str());
    std::fflush(m_pOutput);
    LUTool().WriteLine(strCaption + ": " + strText);
}

void CHeadlessDBReporter::ReportError(const std::string& strText) {
    WriteMessage(LoadTarnString(IDS_ERROR_CAPTION), strText);
}

void CHeadlessDBReporter::BeginProgress(const std::string& strText, int nRange) {
    m_nRange = nRange;
    std::fprintf(m_pOutput, "%s\n", strText.c_str());
    std::fflush(m_pOutput);
}

void CHeadlessDBReporter::StepProgress(int nStep) {
    std::fprintf(m_pOutput, "  %d/%d\n", nStep, m_nRange);
    std::fflush(m_pOutput);
}

void CHeadlessDBReporter::EndProgress() {}

void CHeadlessDBReporter::ShowError(const std::string& strText) {
    ReportError(strText);
}

DBPromptAnswer CHeadlessDBReporter::AskYesNoCancel(const std::string& strText,
                                                   const std::string& strCaption) {
    WriteMessage(strCaption, strText);
    const char* pAnswer = m_eAnswer == DBPromptAnswer::Yes  ? "Ja"
                          : m_eAnswer == DBPromptAnswer::No ? "Nein"
                                                            : "Abbrechen";
    std::fprintf(m_pOutput, "-> %s\n", pAnswer);
    std::fflush(m_pOutput);
    return m_eAnswer;
}
