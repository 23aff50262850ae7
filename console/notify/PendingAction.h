// An action sent to an agent as a command file, and the record the console
// keeps while it waits for the agent's result file.
#pragma once

#include "AuditionSnapshot.h"

#include <cstdint>
#include <ctime>
#include <string>

struct AgentAction {
    int32_t Type = 0;    // ActionType
    std::string Module;  // application module
    std::string Service; // service name
    std::string Parameters;
};

struct PendingAction {
    std::time_t IssueTime = 0;
    int32_t ProblemID = 0;
    std::string DataDirectory; // the trusted base of the two files' paths
    std::string CommandFile;
    std::string ResultFile;
    int32_t Type = 0; // ActionType
    AgentAction Action;
    AuditionSnapshot Audition; // at sending time, with the error signal
    std::string Computer;      // the agent computer addressed, spelt as the console knows it
    std::string DisplayText;
};
