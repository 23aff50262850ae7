// A data directory, a state file and a configuration for one agent of the
// computer "alpha", removed again at the end of the test.
#pragma once

#include "Agent.h"
#include "AgentConfig.h"

#include <functional>
#include <string>
#include <vector>

class CAgentSandbox {
public:
    CAgentSandbox();
    ~CAgentSandbox();

    const std::string& Root() const { return m_strRoot; } // with a trailing "/"
    const std::string& Data() const { return m_strData; }
    std::string Exchange() const { return m_strData + "alpha/"; }
    // Computer alpha, one-second rounds, no journal, nothing watched.
    AgentConfig Config() const;

    std::string ReadFile(const std::string& path) const;
    void WriteFile(const std::string& path, const std::string& text) const;
    std::vector<std::string> LogLines() const;
    // A command file as the console writes it: [Commands] Command1=<line>.
    void WriteCommand(const std::string& number, const std::string& line) const;
    // Result1 of TARN<number>.RLT; empty while there is none.
    std::string Result(const std::string& number) const;

private:
    std::string m_strRoot, m_strData;
};

// Runs rounds of the agent until the condition holds, at most for seconds.
bool RunRoundsUntil(CAgent& agent, const std::function<bool()>& condition, int seconds);
// The fields of an agent log line.
std::vector<std::string> Fields(const std::string& line);
