// Carries out the console's command files TARN<nnn>.TRA in the exchange
// directory and answers each with TARN<nnn>.RLT: "0" for success, otherwise
// one of the codes below (the reason goes to the agent's own log). A command
// file is removed before its command runs, so that it never runs twice.
// Services become unit jobs whose result is written when the job ends;
// applications are started detached or signalled (TERM, then KILL).
#pragma once

#include "AgentConfig.h"
#include "AgentLog.h"
#include "ContractFiles.h"
#include "ErrorLogFile.h"
#include "ProcessWatcher.h"
#include "RestartBudget.h"
#include "UnitWatcher.h"

#include <functional>
#include <map>
#include <set>
#include <string>

enum class CommandResult {
    Success = 0,
    UnknownCommand = 1, // not one of the five command words, or no command
    NotWatched = 2,     // the service or application is not in the configuration
    BudgetSpent = 3,    // the restart budget of the target is used up
    JobFailed = 4,      // the unit job ended other than "done"
    Refused = 5,        // systemd or logind refused the request
    NotAllowed = 6,     // system restarts are not allowed by the configuration
    StartFailed = 7,    // the program could not be started
    StopFailed = 8,     // the program did not end after KILL
    NoSystemd = 9,      // there is no systemd to ask
    JobTimeout = 10,    // the unit job did not end in time
};

class CCommandExecutor {
public:
    CCommandExecutor(const AgentConfig& config, const CDataDirectory& exchange,
                     const CContractFiles& contract, CErrorLogFile& log, CProcessWatcher& processes,
                     CUnitWatcher& units, CRestartBudget& budget, const CAgentLog& agentLog);

    // Runs just before a system restart is requested (the information file).
    void SetBeforeReboot(std::function<void()> before) { m_beforeReboot = std::move(before); }

    // Reads, removes and carries out every command file, oldest first.
    void RunCommandFiles(std::time_t now);
    // Fails unit jobs that did not end in time and collects ended programs.
    void CheckPending(std::time_t now);
    // Carries out one command line; the result is written for number.
    void Execute(const std::string& number, const std::string& commandLine, std::time_t now);

private:
    struct PendingJob {
        std::string Number, Unit;
        std::time_t Deadline = 0;
    };

    void OnJobRemoved(const std::string& job, const std::string& result);
    void Answer(const std::string& number, CommandResult result, const std::string& reason);
    CommandResult RunService(const std::string& number, const std::string& word,
                             const std::string& unit, std::time_t now);
    CommandResult StartApp(const std::string& module, const std::string& parameters);
    CommandResult StopApp(const std::string& module);
    CommandResult RestartSystem();
    void ReapChildren();
    bool TakeBudget(const std::string& target, int category, std::time_t now);

    const AgentConfig& m_config;
    const CDataDirectory& m_exchange;
    const CContractFiles& m_contract;
    CErrorLogFile& m_log;
    CProcessWatcher& m_processes;
    CUnitWatcher& m_units;
    CRestartBudget& m_budget;
    const CAgentLog& m_agentLog;
    std::function<void()> m_beforeReboot;
    std::map<std::string, PendingJob> m_jobs; // job path -> command
    std::set<pid_t> m_children;
    std::string m_strReason; // why the last command failed
};

// "TARN<three digits>.TRA": the number; empty for any other name.
std::string CommandFileNumber(const std::string& name);
// Blank-separated words; double quotes group words.
std::vector<std::string> SplitParameters(const std::string& text);
