// One agent for one computer: it owns the watchers and the contract files and
// runs the rounds. A round looks at the applications, the units and the
// journal, appends what it found to the agent log, carries out the console's
// commands, refreshes the information file and trims the log.
#pragma once

#include "AgentConfig.h"
#include "AgentLog.h"
#include "AgentState.h"
#include "CommandExecutor.h"
#include "ContractFiles.h"
#include "DataDirectory.h"
#include "ErrorLogFile.h"
#include "JournalReader.h"
#include "ProcessWatcher.h"
#include "RestartBudget.h"
#include "UnitWatcher.h"

#include <memory>
#include <optional>
#include <string>

class CAgent {
public:
    CAgent(AgentConfig config, const CAgentLog& log);
    ~CAgent();

    // Opens the data directory, announces the agent and connects to systemd;
    // false (reason in the log) when the data directory cannot be used.
    bool Start();
    void Round();
    // Waits for the next round, handling bus messages meanwhile; false when
    // a stop signal arrived (signalFd is a signalfd, or -1).
    bool WaitForNextRound(int signalFd);
    // Empties "TARNStartDate" and saves the state.
    void Stop();

private:
    void StartWatchers();
    bool OpenJournal(std::string& reason);
    void AnnounceWatchLists();
    void WriteInformation(bool running);
    void Collect(std::vector<ErrorLine> lines);
    void SaveState();

    AgentConfig m_config;
    const CAgentLog& m_log;
    AgentState m_state;
    std::optional<CDataDirectory> m_data, m_exchange;
    std::unique_ptr<CContractFiles> m_contract;
    std::unique_ptr<CErrorLogFile> m_errorLog;
    CProcessWatcher m_processes;
    CUnitWatcher m_units;
    CJournalReader m_journal;
    bool m_bJournalOpen = false;
    CRestartBudget m_budget;
    std::unique_ptr<CCommandExecutor> m_executor;
    std::string m_strStartDate;
    std::string m_strSavedState; // the state file's text as last written
    std::time_t m_nComputerStart = 0;
    WatchLists m_lists;
    std::time_t m_nNextInventory = 0;
};
