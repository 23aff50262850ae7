// The problem lifecycle: every error signal of an audition either joins an
// open problem of the audition or opens a new one; problems are closed
// resolved or unresolved when their maximum duration has passed, and the
// audition's notify profiles are queued at the moments its notify flags name.
// The open problems live in the history database. Runs on the audition thread.
#pragma once

#include "AgentActions.h"
#include "AuditionList.h"
#include "CPluginList.h"
#include "HistoryRecorder.h"
#include "NotificationCaches.h"
#include "NotificationList.h"

#include <ctime>
#include <functional>
#include <optional>
#include <unordered_map>

struct ProblemHandlerServices {
    CHistoryRecorder& Recorder;
    CAgentActions& Actions;
    const CNotificationCaches& Caches;
    CNotificationList& Queue;
    CAuditionList& Auditions;
    // The installed plug-ins; null: every plug-in capability answers yes.
    const CPluginList* Plugins = nullptr;
    // Stops a running audition with the event line "Überwachung angehalten".
    std::function<void(AuditionEntry&)> StopAudition;
};

class CProblemHandler {
public:
    explicit CProblemHandler(ProblemHandlerServices services);

    // The audition signalled an error in this pass; the entry carries it.
    // False, with nothing notified, when its problem or event could not be
    // stored.
    bool OnAuditionError(AuditionEntry entry);
    // Collects the action results, then closes the audition's expired problems.
    // The entry is the audition thread's working copy: it may be stopped here.
    void CheckOpenProblems(AuditionEntry& entry);
    // Between the two, CheckOpenProblems learns from one reading of every
    // open problem, taken when the pass begins, whether an audition's
    // problems may have expired, and reads them only then. Without a pass it
    // reads them at every call.
    void BeginPass();
    void EndPass();
    // Closes every open problem unresolved, without notifications (console end).
    void CloseAllOpenProblems();

    // The new problem's id; 0 when it could not be stored.
    int32_t OpenProblem(const AuditionEntry& entry);
    void CloseProblem(int32_t nProblemID, bool bResolved);
    bool MatchesProblemEvent(const DBHEvent& stored, const AuditionEntry& entry) const;

    bool HasRestartAction(const AuditionEntry& entry) const;
    bool ClosesAtOnce(const AuditionEntry& entry) const;
    bool StopsAfterError(const AuditionEntry& entry) const;
    bool StopsAfterClosing(const AuditionEntry& entry) const;

private:
    bool FindMatchingProblem(const AuditionEntry& entry, int32_t& nProblemID);
    bool MayHaveExpired(const AuditionEntry& entry, std::time_t now) const;
    void HandleNewProblem(int32_t nProblemID, AuditionEntry& entry);
    void ExpireProblem(const DBHProblem& problem, AuditionEntry& entry);
    void Notify(int32_t nProblemID, const AuditionEntry& entry, int32_t nStage);
    bool PluginCapability(const AuditionEntry& entry, uint32_t nFlag) const;

    ProblemHandlerServices m_services;
    // The pass's reading: the earliest begin of each audition's open
    // problems, by audition id; none outside a pass or when the reading failed.
    std::optional<std::unordered_map<int32_t, std::time_t>> m_earliestOpenBegin;
};

// Whether the events hold a notification event of stage 2.
bool HasUnresolvedNotification(const DBHEventList& events);
