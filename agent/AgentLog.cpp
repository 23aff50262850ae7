#include "AgentLog.h"

#include <cstdio>
#include <cstdlib>
#include <systemd/sd-journal.h>

CAgentLog::CAgentLog() {
    // systemd sets JOURNAL_STREAM when standard error is connected to the journal.
    const char* stream = std::getenv("JOURNAL_STREAM");
    m_bJournal = stream != nullptr && *stream != '\0';
}

void CAgentLog::Write(Level level, const std::string& text) const {
    if (m_bJournal && sd_journal_print(static_cast<int>(level), "%s", text.c_str()) == 0)
        return;
    const char* prefix = level == Level::Error     ? "error: "
                         : level == Level::Warning ? "warning: "
                                                   : "";
    std::fprintf(stderr, "tarn-agent: %s%s\n", prefix, text.c_str());
    std::fflush(stderr);
}
