#include "HistoryRecorder.h"

#include "TARNTool.h"

CHistoryRecorder::CHistoryRecorder(CDBEngineTARN& database, IConsoleView& view,
                                   std::function<std::time_t()> now)
    : m_database(database), m_view(view), m_now(std::move(now)) {}

void CHistoryRecorder::AddEventViewLine(int kind, const std::string& computer,
                                        const std::string& audition, const std::string& text) {
    std::lock_guard guard(m_eventViewLock);
    m_view.AddEventViewLine(kind, computer, audition, text);
}

bool CHistoryRecorder::WriteHistoryEvent(int32_t nProblemID, DBHEvent event) {
    event.PROBLEM_ID = nProblemID;
    if (!m_database.SetEventEntry(event))
        return false;
    m_view.OnProblemEventAdded(event);
    return true;
}

DBHEvent CHistoryRecorder::ConsoleEvent(const std::string& computer, int32_t category,
                                        const std::string& infoId, const std::string& text) const {
    DBHEvent event;
    event.EVENT_ID = DB_KEY_NEW;
    event.DATE = FormatTimeStamp(m_now());
    event.COMPUTER = computer;
    event.SOURCE = EVENT_SOURCE_CONSOLE;
    event.TYPE = EVENT_TYPE_CONSOLE;
    event.CATEGORY = category;
    event.INFO_ID = infoId;
    event.EVENT_DESCRIPTION = text;
    return event;
}

void CHistoryRecorder::WriteNotificationEvent(const NotificationJob& job, int kind,
                                              const std::string& text) {
    const std::string& computer = job.Audition.Signal.COMPUTER;
    AddEventViewLine(kind, computer, job.Audition.Definition.NAME, text);
    WriteHistoryEvent(job.ProblemID,
                      ConsoleEvent(computer, EVENT_CATEGORY_NOTIFICATION,
                                   std::to_string(static_cast<uint32_t>(job.Stage)), text));
}

void CHistoryRecorder::WriteActionEvent(const PendingAction& action, int kind,
                                        const std::string& text) {
    const std::string& computer = action.Audition.Signal.COMPUTER;
    AddEventViewLine(kind, computer, action.Audition.Definition.NAME, text);
    WriteHistoryEvent(action.ProblemID, ConsoleEvent(computer, EVENT_CATEGORY_ACTION,
                                                     std::to_string(action.Type), text));
}

int32_t CHistoryRecorder::CountErrorSignal(int32_t nProblemID) {
    DBHProblem problem;
    if (!m_database.GetProblem(nProblemID, problem))
        return 0;
    ++problem.ERROR_COUNT;
    if (m_database.SetProblem(problem))
        m_view.OnProblemChanged(problem);
    return problem.ERROR_COUNT;
}
