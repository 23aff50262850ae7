// The INI files of the contract with the console: the agent's computer and
// watch lists in the shared "TARN.CFG", its information file *C*.INI, and the
// result files TARN<nnn>.RLT. Each is written whole: a temporary file renamed
// over the name, so the console, which reads without locking, never sees half
// a file.
#pragma once

#include "DataDirectory.h"

#include <ctime>
#include <string>
#include <vector>

struct ServiceEntry {
    std::string Unit;
    std::string Description;
};

struct WatchLists {
    std::vector<ServiceEntry> Services;  // watched units
    std::vector<std::string> Apps;       // watched modules
    std::vector<ServiceEntry> Installed; // "Servicelist"
};

class CContractFiles {
public:
    CContractFiles(const CDataDirectory& data, const CDataDirectory& exchange,
                   std::string computer);

    // Lists the computer in [Server] and replaces its own section's lists,
    // under a lock on "TARN.CFG" that every agent takes for its update, so
    // that concurrent agents keep each other's sections byte for byte. Writes
    // nothing when nothing changes.
    bool UpdateGlobalConfig(const WatchLists& lists) const;
    // [Information]: TARNStartDate (empty once the agent has stopped),
    // LastTouch and ComputerStartDate.
    bool WriteInformation(const std::string& agentStart, std::time_t lastTouch,
                          std::time_t computerStart) const;
    // [Results] Result1=<code> in TARN<nnn>.RLT.
    bool WriteResult(const std::string& number, const std::string& code) const;

    std::string InformationFileName() const { return m_strComputer + ".INI"; }

private:
    const CDataDirectory& m_data;
    const CDataDirectory& m_exchange;
    std::string m_strComputer;
};

// The changed "TARN.CFG" text: the computer in [Server] and its section's
// "Service", "App" and "Servicelist" lists replaced; every other line stays.
std::string ApplyWatchLists(const std::string& text, const std::string& computer,
                            const WatchLists& lists);
// The computer's start from the kernel's boot time; 0 when unknown.
std::time_t ComputerStartTime();
