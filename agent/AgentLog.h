// The agent's own messages: to the journal when systemd runs the agent (its
// standard error is then a journal stream), to standard error otherwise.
#pragma once

#include <string>

class CAgentLog {
public:
    enum class Level { Error = 3, Warning = 4, Info = 6 };

    // Decides once where messages go.
    CAgentLog();

    void Error(const std::string& text) const { Write(Level::Error, text); }
    void Warning(const std::string& text) const { Write(Level::Warning, text); }
    void Info(const std::string& text) const { Write(Level::Info, text); }
    void Write(Level level, const std::string& text) const;

private:
    bool m_bJournal = false;
};
