// The console's side of the file exchange with the agents in the shared data
// directory: which computers run an agent, whether each agent is alive, and
// whether it still performs a given audition.
#pragma once

#include "AgentConfigCache.h"
#include "AuditionEntry.h"
#include "ComputerList.h"
#include "IEventViewSink.h"
#include "IniFile.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// The agents' inventory as "TARN.CFG" lists it, for the selection dialogs.
struct AgentServiceInfo {
    std::string Module;      // first field: compared with SERVICE_MODULE
    std::string Name;        // second field
    std::string DisplayName; // third field
};

struct AgentInventoryComputer {
    std::string Name;
    std::vector<AgentServiceInfo> Services;          // "Service": watched services
    std::vector<std::string> Apps;                   // "App": watched applications
    std::vector<AgentServiceInfo> InstalledServices; // "Servicelist"
};

// A computer name is used in paths only when it cannot leave the data
// directory: not empty after trimming, no "/" or NUL, not "." or "..".
bool IsSafeComputerName(const std::string& name);

class CAgentExchange {
public:
    // dataDirectory returns the current data directory with a trailing "/"
    // (the general settings may change it while the console runs).
    CAgentExchange(CComputerList& computers, IEventViewSink& events,
                   std::function<std::string()> dataDirectory);

    // Called for every entry in every pass before its check.
    void RegisterAgentComputer(const AuditionEntry& entry);
    // Called after each pass: reads every agent's information file and reports changes.
    void CheckAgentLiveness();
    // Whether the entry's agent is alive and still lists the audition; reports
    // changes of the entry's AgentPerforms.
    bool CheckAgentPerforms(AuditionEntry& entry);
    AgentComputer GetAgentComputer(const std::string& name);

    std::string GlobalConfigFile() const;

private:
    bool IsPerformedByAgent(const AuditionEntry& entry);
    // Stores what the information file said; returns the earlier liveness.
    bool StoreLiveness(const AgentComputer& seen, bool alive);
    void ReportUnreadableFile(const std::string& path, SafeFileStatus status);
    void ReportPerformsChange(AuditionEntry& entry, bool performs);
    void ReportUnsafeName(AuditionEntry& entry);

    CComputerList& m_computers;
    IEventViewSink& m_events;
    std::function<std::string()> m_dataDirectory;
    CAgentConfigCache m_config;
    std::map<std::string, SafeFileStatus> m_unreadableFiles; // named once until they change
};

// Reads "TARN.CFG" in the data directory without following a link and at
// most kMaxAgentFileSize bytes.
CIniFile LoadAgentConfig(const std::string& globalConfigFile, SafeFileStatus& status);

// Reads "TARN.CFG" into the inventory; entries of the wrong shape are skipped.
std::vector<AgentInventoryComputer> BuildAgentInventory(const std::string& globalConfigFile);
