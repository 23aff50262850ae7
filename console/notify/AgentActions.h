// Restart actions sent to agents. An action is a command file "TARN<nnn>.TRA"
// (section "Commands", key "Command1") that appears complete and at once in the
// computer's exchange directory; the agent answers with "TARN<nnn>.RLT"
// (section "Results", key "Result1": "0" for success, else an error code).
// The console keeps every sent action pending until its result is read, a
// system restart runs out of time, or the action's problem expires.
// Used on the audition thread only.
#pragma once

#include "ComputerList.h"
#include "HistoryRecorder.h"
#include "PendingAction.h"

#include <chrono>
#include <string>
#include <vector>

struct AgentActionOptions {
    // How long a system restart may stay unanswered.
    std::chrono::seconds SystemRestartLimit{15 * 60};
};

// The command line of an action ("START_SERVICE;<service>;<parameters>", ...);
// empty (and an assertion report) for a type outside 1 to 7.
std::string BuildCommandLine(const AgentAction& action);
// The display text of an action in its events.
std::string ActionDisplayText(const AgentAction& action);
// Reads a result value: true for the number 0; otherwise the error code to
// show: the number itself, or "-1" for a value that is not one decimal number
// (empty, several fields, text).
bool ParseActionResult(const std::string& value, std::string& errorCode);
// Whether a plug-in audition lists any action at all, also of kinds outside
// 1 to 7 that are never sent (false without an instance).
bool PluginListsActions(const AuditionEntry& entry);
// The actions of kinds 1 to 7 that a plug-in audition offers, to be sent
// (empty without an instance).
std::vector<AgentAction> PluginActions(const AuditionEntry& entry);

class CAgentActions {
public:
    CAgentActions(CHistoryRecorder& recorder, CComputerList& computers,
                  AgentActionOptions options = {});

    // The restart actions of a new problem of the audition.
    void StartRestartActions(int32_t nProblemID, const AuditionEntry& entry);
    // Writes and delivers one command file and keeps the action pending.
    void SendAgentAction(int32_t nProblemID, const AuditionEntry& entry, const AgentAction& action);
    // Reads the result files of every pending action.
    void CollectActionResults();
    // Gives up on a pending action (event 1137, one more error of its problem).
    void ExpireAction(const PendingAction& action);
    // Expires and removes every pending action of the problem; returns how many.
    int ExpireProblemActions(int32_t nProblemID);

    const std::vector<PendingAction>& GetPendingActions() const { return m_pending; }
    int GetActionCounter() const { return m_nActionCounter; }

private:
    bool FindAgentComputer(const std::string& computer, AgentComputer& record);
    bool DeliverCommandFile(const PendingAction& pending, const std::string& commandLine) const;
    bool ReadResult(const PendingAction& action);
    void SetRestartPending(const PendingAction& action, bool pending);

    CHistoryRecorder& m_recorder;
    CComputerList& m_computers;
    const AgentActionOptions m_options;
    std::vector<PendingAction> m_pending;
    int m_nActionCounter = 0; // 0 to 999
};
