// What the agent keeps across its own restarts, in its state file (an INI
// file in a directory of its own): the journal position, the last state of
// every watched unit and application, and the restart times of the budget.
#pragma once

#include <cstdint>
#include <ctime>
#include <map>
#include <set>
#include <string>
#include <vector>

struct AgentState {
    std::string JournalCursor;
    uint64_t JournalSinceUsec = 0;            // where reading began when there was no cursor
    std::map<std::string, std::string> Units; // unit -> last ActiveState
    std::set<std::string> RunningApps;
    std::map<std::string, std::vector<std::time_t>> Restarts;
};

// A missing file is an empty state.
AgentState LoadAgentState(const std::string& path);
// The state file's text.
std::string AgentStateText(const AgentState& state);
// Written whole (temporary file, then rename).
bool SaveAgentState(const std::string& path, const std::string& text);
