#include "ProblemHandler.h"

#include "CDBHREvents.h"
#include "LUTool.h"
#include "MessageIds.h"
#include "MessageText.h"
#include "NotifyPlan.h"
#include "StringTable.h"
#include "TARNTool.h"

#include <tarn/TarnPlugin.h>

#include <algorithm>
#include <charconv>

namespace {

AuditionType TypeOf(const AuditionEntry& entry) {
    return static_cast<AuditionType>(entry.Definition.AUDITION_TYPE);
}

bool IsPlugin(const AuditionEntry& entry) {
    return TypeOf(entry) == AuditionType::Plugin;
}

std::time_t BeginOf(const DBHProblem& problem) {
    std::time_t begin = 0;
    ParseTimeStamp(problem.PROBLEM_BEGIN, begin); // an unreadable begin gives -1
    return begin;
}

bool HasExpired(std::time_t begin, int32_t nMaxDurationMinutes, std::time_t now) {
    return begin + static_cast<std::time_t>(nMaxDurationMinutes) * 60 < now;
}

} // namespace

// A notification event carries its stage as the number in INFO_ID.
bool HasUnresolvedNotification(const DBHEventList& events) {
    for (const DBHEvent& event : events) {
        int32_t stage = 0;
        const char* begin = event.INFO_ID.data();
        const char* end = begin + event.INFO_ID.size();
        const auto [rest, error] = std::from_chars(begin, end, stage);
        if (event.SOURCE == EVENT_SOURCE_CONSOLE && event.CATEGORY == EVENT_CATEGORY_NOTIFICATION &&
            error == std::errc() && rest == end && stage == NOTIFY_STAGE_UNRESOLVED)
            return true;
    }
    return false;
}

CProblemHandler::CProblemHandler(ProblemHandlerServices services)
    : m_services(std::move(services)) {}

bool CProblemHandler::PluginCapability(const AuditionEntry& entry, uint32_t nFlag) const {
    if (!m_services.Plugins)
        return true;
    return m_services.Plugins->HasCapability(entry.Definition.Plugin.PLUGIN_TYPE, nFlag);
}

bool CProblemHandler::HasRestartAction(const AuditionEntry& entry) const {
    if (IsPlugin(entry)) {
        // A plug-in that is not installed has no instance and counts as yes.
        return !entry.PluginInstance || PluginListsActions(entry);
    }
    const DBAudition& audition = entry.Definition;
    return audition.ACTION_RESTART_APP || audition.ACTION_RESTART_SERVICE ||
           audition.ACTION_RESTART_SYSTEM;
}

bool CProblemHandler::ClosesAtOnce(const AuditionEntry& entry) const {
    switch (TypeOf(entry)) {
    case AuditionType::App:
    case AuditionType::Service:
    case AuditionType::Logfile:
        return true;
    case AuditionType::Plugin:
        return PluginCapability(entry, PLUGIN_CAP_CLOSE_AT_ONCE);
    default:
        return false;
    }
}

bool CProblemHandler::StopsAfterError(const AuditionEntry& entry) const {
    if (TypeOf(entry) == AuditionType::Logfile)
        return true;
    return IsPlugin(entry) && PluginCapability(entry, PLUGIN_CAP_STOP_AFTER_ERROR);
}

bool CProblemHandler::StopsAfterClosing(const AuditionEntry& entry) const {
    return IsPlugin(entry) && PluginCapability(entry, PLUGIN_CAP_STOP_AFTER_CLOSING);
}

bool CProblemHandler::MatchesProblemEvent(const DBHEvent& stored,
                                          const AuditionEntry& entry) const {
    if (stored.TYPE == EVENT_TYPE_CONSOLE)
        return false;
    const DBHEvent& current = entry.Signal;
    switch (TypeOf(entry)) {
    case AuditionType::App:
    case AuditionType::Service:
        return stored.SOURCE_MODULE_NAME == current.SOURCE_MODULE_NAME;
    case AuditionType::Logfile:
        return false;
    case AuditionType::NTEvtLog:
        return stored.COMPUTER == current.COMPUTER && stored.SOURCE == current.SOURCE &&
               stored.INFO_ID == current.INFO_ID && stored.CATEGORY == current.CATEGORY;
    case AuditionType::Net:
        return stored.COMPUTER == current.COMPUTER;
    case AuditionType::Plugin:
        return stored.INFO_ID == current.INFO_ID;
    default:
        TARN_ASSERT_FAIL("Unbekannter Überwachungstyp");
        return false;
    }
}

bool CProblemHandler::FindMatchingProblem(const AuditionEntry& entry, int32_t& nProblemID) {
    CDBEngineTARN& database = m_services.Recorder.Database();
    DBHProblemList open;
    if (!database.GetAllProblems(entry.Definition.AUDITION_ID, PROBLEM_OPEN, open))
        return false;
    for (const DBHProblem& problem : open) {
        DBHEventList events;
        if (!database.GetProblemEventEntries(problem.PROBLEM_ID, events))
            continue;
        for (auto event = events.rbegin(); event != events.rend(); ++event) {
            if (MatchesProblemEvent(*event, entry)) {
                nProblemID = problem.PROBLEM_ID;
                return true;
            }
        }
    }
    return false;
}

int32_t CProblemHandler::OpenProblem(const AuditionEntry& entry) {
    DBHProblem problem;
    problem.PROBLEM_ID = DB_KEY_NEW;
    problem.PROBLEM_STATUS = PROBLEM_OPEN;
    problem.PROBLEM_DESCRIPTION = entry.Signal.EVENT_DESCRIPTION;
    problem.PROBLEM_BEGIN = entry.Signal.DATE;
    problem.MAX_DURATION = entry.Definition.MAX_DURATION;
    problem.ERROR_COUNT = 0;
    problem.AUDITION_ID = entry.Definition.AUDITION_ID;
    problem.AUDITION_NAME = entry.Definition.NAME;
    problem.COMPUTER_NAME = entry.Signal.COMPUTER;
    CHistoryRecorder& recorder = m_services.Recorder;
    if (!recorder.Database().SetProblem(problem))
        return 0;
    recorder.View().OnProblemAdded(problem);
    recorder.AddEventViewLine(
        EVENT_VIEW_PROBLEM_OPENED, entry.Signal.COMPUTER, entry.Definition.NAME,
        FillMessage(LoadTarnString(IDS_PROBLEM_OPENED), {problem.PROBLEM_DESCRIPTION}));
    return problem.PROBLEM_ID;
}

void CProblemHandler::CloseProblem(int32_t nProblemID, bool bResolved) {
    CHistoryRecorder& recorder = m_services.Recorder;
    DBHProblem problem;
    if (!recorder.Database().GetProblem(nProblemID, problem))
        return;
    problem.PROBLEM_END = FormatTimeStamp(recorder.Now());
    problem.PROBLEM_STATUS = bResolved ? PROBLEM_RESOLVED : PROBLEM_UNRESOLVED;
    const unsigned textId = bResolved ? IDS_PROBLEM_RESOLVED : IDS_PROBLEM_UNRESOLVED;
    recorder.AddEventViewLine(bResolved ? EVENT_VIEW_PROBLEM_RESOLVED
                                        : EVENT_VIEW_PROBLEM_UNRESOLVED,
                              problem.COMPUTER_NAME, problem.AUDITION_NAME,
                              FillMessage(LoadTarnString(textId), {problem.PROBLEM_DESCRIPTION}));
    if (recorder.Database().SetProblem(problem))
        recorder.View().OnProblemChanged(problem);
}

void CProblemHandler::Notify(int32_t nProblemID, const AuditionEntry& entry, int32_t nStage) {
    QueueNotifications(m_services.Caches, m_services.Queue, nProblemID, entry, nStage);
}

bool CProblemHandler::OnAuditionError(AuditionEntry entry) {
    // The signal is matched against stored events, so it takes the stored
    // form first: agent texts cut to their history columns.
    CDBHREvents::Get().FitTexts(entry.Signal);
    int32_t problemID = 0;
    const bool existing = FindMatchingProblem(entry, problemID);
    if (!existing)
        problemID = OpenProblem(entry);
    DBHEvent event = entry.Signal;
    event.EVENT_ID = DB_KEY_NEW;
    if (problemID == 0 || !m_services.Recorder.WriteHistoryEvent(problemID, event))
        return false;
    const int32_t count = m_services.Recorder.CountErrorSignal(problemID);

    if (existing) {
        // Only the second signal of a problem notifies again.
        if (entry.Definition.NOTIFY_FAILURE && count <= 2)
            Notify(problemID, entry, NOTIFY_STAGE_UNRESOLVED);
        return true;
    }
    HandleNewProblem(problemID, entry);
    return true;
}

void CProblemHandler::HandleNewProblem(int32_t nProblemID, AuditionEntry& entry) {
    if (entry.Definition.NOTIFY_ALWAYS)
        Notify(nProblemID, entry, NOTIFY_STAGE_OCCURRED);
    if (HasRestartAction(entry)) {
        m_services.Actions.StartRestartActions(nProblemID, entry);
        return;
    }
    if (!ClosesAtOnce(entry))
        return;
    CloseProblem(nProblemID, false);
    if (StopsAfterError(entry)) {
        m_services.StopAudition(entry);
        CAuditionListLock lock(m_services.Auditions);
        m_services.Auditions.UpdateRunState(entry);
    }
}

// The problems themselves are read again before any is closed: since the
// pass's reading an action result, a restart or "tarn-admin problem remove"
// may have closed or removed one.
void CProblemHandler::CheckOpenProblems(AuditionEntry& entry) {
    m_services.Actions.CollectActionResults();
    const std::time_t now = m_services.Recorder.Now();
    if (!MayHaveExpired(entry, now))
        return;
    DBHProblemList open;
    if (!m_services.Recorder.Database().GetAllProblems(entry.Definition.AUDITION_ID, PROBLEM_OPEN,
                                                       open))
        return;
    for (const DBHProblem& problem : open)
        if (HasExpired(BeginOf(problem), entry.Definition.MAX_DURATION, now))
            ExpireProblem(problem, entry);
}

// A problem opened during the pass is not in its reading; it belongs to an
// audition already checked in this pass (a signal follows the check), so it
// is first due in the next pass, as it would be without the reading.
bool CProblemHandler::MayHaveExpired(const AuditionEntry& entry, std::time_t now) const {
    if (!m_earliestOpenBegin)
        return true;
    const auto found = m_earliestOpenBegin->find(entry.Definition.AUDITION_ID);
    return found != m_earliestOpenBegin->end() &&
           HasExpired(found->second, entry.Definition.MAX_DURATION, now);
}

// A failed reading leaves none: every audition's problems are then read
// at its check, as without a pass.
void CProblemHandler::BeginPass() {
    m_earliestOpenBegin.reset();
    DBHProblemList open;
    if (!m_services.Recorder.Database().GetAllProblems(0, PROBLEM_OPEN, open))
        return;
    auto& earliest = m_earliestOpenBegin.emplace();
    for (const DBHProblem& problem : open) {
        const std::time_t begin = BeginOf(problem);
        const auto [slot, added] = earliest.try_emplace(problem.AUDITION_ID, begin);
        if (!added)
            slot->second = std::min(slot->second, begin);
    }
}

void CProblemHandler::EndPass() {
    m_earliestOpenBegin.reset();
}

void CProblemHandler::ExpireProblem(const DBHProblem& problem, AuditionEntry& entry) {
    DBHEventList events;
    m_services.Recorder.Database().GetProblemEventEntries(problem.PROBLEM_ID, events);
    const int expiredActions = m_services.Actions.ExpireProblemActions(problem.PROBLEM_ID);
    const DBAudition& audition = entry.Definition;
    if (problem.ERROR_COUNT <= 1 && expiredActions == 0 && HasRestartAction(entry)) {
        CloseProblem(problem.PROBLEM_ID, true);
        if (audition.NOTIFY_SUCCESS)
            Notify(problem.PROBLEM_ID, entry, NOTIFY_STAGE_RESOLVED);
        return;
    }
    CloseProblem(problem.PROBLEM_ID, false);
    if (audition.NOTIFY_FAILURE && !HasUnresolvedNotification(events))
        Notify(problem.PROBLEM_ID, entry, NOTIFY_STAGE_UNRESOLVED);
    if (StopsAfterClosing(entry))
        m_services.StopAudition(entry);
}

void CProblemHandler::CloseAllOpenProblems() {
    DBHProblemList open;
    if (!m_services.Recorder.Database().GetAllProblems(0, PROBLEM_OPEN, open))
        return;
    for (const DBHProblem& problem : open)
        CloseProblem(problem.PROBLEM_ID, false);
}
