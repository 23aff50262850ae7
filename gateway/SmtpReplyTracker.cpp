#include "SmtpReplyTracker.h"

void CSmtpReplyTracker::OnCommand(std::string_view line) {
    m_lastCommand = std::string(line.substr(0, line.find_first_of(" \r\n")));
}

void CSmtpReplyTracker::OnReply(std::string_view text) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (!line.empty() && (line[0] == '4' || line[0] == '5') && m_lastCommand != "QUIT") {
            m_refused = true;
            m_refusedCommand = m_lastCommand;
        }
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
}

bool CSmtpReplyTracker::RefusedAfterConnect() const {
    return m_refused && !m_refusedCommand.empty() && m_refusedCommand != "EHLO" &&
           m_refusedCommand != "HELO" && m_refusedCommand != "STARTTLS";
}
