// The agent's configuration file (by default /etc/tarn/agent.ini): which
// computer it speaks for, where the shared data directory is, what it watches
// and what it may do. Load checks every value; a bad one is an error with the
// section and key named, and the agent does not start.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

struct WatchedApp {
    std::string Module;  // the executable's name as the auditions spell it
    std::string Program; // what START_APP runs; empty: the path last seen running
};

struct AgentConfig {
    std::string Computer;      // as the auditions spell it; default: the host name
    std::string DataDirectory; // with a trailing "/"
    std::string StateFile;
    std::chrono::seconds Interval{5};
    size_t MaxLogSize = 1u << 20; // the agent log is trimmed beyond this
    bool AllowSystemRestart = false;
    int RestartLimit = 3;                   // restarts of one service or application ...
    std::chrono::minutes RestartWindow{15}; // ... within this time
    std::chrono::seconds StopGrace{10};     // TERM, then KILL after this
    std::chrono::seconds JobTimeout{300};   // a unit job without an end fails
    std::vector<std::string> Services;      // unit names
    std::vector<WatchedApp> Apps;
    bool WatchJournal = true;
    std::string JournalDirectory;                // empty: the local journal
    std::vector<std::string> JournalIdentifiers; // empty: every identifier

    const WatchedApp* FindApp(const std::string& module) const;
    bool WatchesService(const std::string& unit) const;
};

inline constexpr const char* kDefaultConfigFile = "/etc/tarn/agent.ini";
inline constexpr const char* kDefaultStateFile = "/var/lib/tarn-agent/state.ini";

// Reads and checks the file; nullopt with the reason in error.
std::optional<AgentConfig> LoadAgentConfig(const std::string& path, std::string& error);
// "cron" becomes "cron.service"; a name with a unit suffix stays as it is.
std::string NormalizeUnitName(const std::string& name);
