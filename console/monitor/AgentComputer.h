// The console's record of one agent computer, held by value in the computer list.
#pragma once

#include <cstdint>
#include <string>

struct AgentComputer {
    std::string Name;      // the list's key, compared case-sensitively
    std::string LogFile;   // data directory + name + "/" + name + ".log"
    std::string InfoFile;  // data directory + name + "/" + name + ".INI"
    std::string Directory; // data directory + name + "/"
    // The data directory these paths lie in: trusted as the operator set it;
    // nothing below it is reached through a link.
    std::string DataDirectory;
    int32_t AuditionCount = 0;
    std::string ComputerStartDate;
    std::string TARNStartDate;
    std::string LastTouch;
    bool ActionTimedOut = false;
    bool RestartPending = false; // a system restart was sent and has not been answered
    bool Alive = true;
};
