// Watched applications, found through /proc by executable name: the name of
// the program file (/proc/<pid>/exe, where the agent may read it) or of the
// command's first word (/proc/<pid>/cmdline, readable for every process).
// A watched application that was running and is gone gives one error line,
// unless the agent stopped it on purpose.
#pragma once

#include "ErrorLine.h"

#include <map>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

class CProcessWatcher {
public:
    explicit CProcessWatcher(std::vector<std::string> modules, std::string procRoot = "/proc");

    // Looks at every process once; the lines of watched applications that
    // have disappeared since the last scan.
    std::vector<ErrorLine> Scan(std::time_t now);
    // The processes of a module, looked up afresh.
    std::vector<pid_t> FindProcesses(const std::string& module) const;
    // The next disappearance of the module is on purpose (STOP_APP).
    void ExpectStop(const std::string& module) { m_expectedStops.insert(module); }
    // The program file last seen running for the module; empty when never seen.
    std::string LastProgram(const std::string& module) const;

    // Which modules were running, kept across agent restarts.
    std::set<std::string> RunningModules() const { return m_running; }
    void SetRunningModules(std::set<std::string> running) { m_running = std::move(running); }

private:
    struct ProcessName {
        std::string exeName, exePath, commandName;
    };
    bool ReadProcess(const std::string& pid, ProcessName& name) const;
    bool Matches(const ProcessName& name, const std::string& module) const;

    std::vector<std::string> m_modules;
    std::string m_procRoot;
    std::set<std::string> m_running;
    std::set<std::string> m_expectedStops;
    std::map<std::string, std::string> m_lastProgram;
};

// The last component of a path.
std::string BaseName(const std::string& path);
