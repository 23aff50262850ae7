// Records what happens to problems: event view lines (under the event view
// lock), history events under a problem, and the error count of a problem.
// Shared by the problem handling, the actions and the notification channels.
#pragma once

#include "CDBEngineTARN.h"
#include "IConsoleView.h"
#include "NotificationJob.h"
#include "PendingAction.h"

#include <ctime>
#include <functional>
#include <mutex>
#include <string>

class CHistoryRecorder {
public:
    CHistoryRecorder(
        CDBEngineTARN& database, IConsoleView& view,
        std::function<std::time_t()> now = [] { return std::time(nullptr); });

    void AddEventViewLine(int kind, const std::string& computer, const std::string& audition,
                          const std::string& text);
    // Stores the event under the problem and shows it; false when it could
    // not be stored.
    bool WriteHistoryEvent(int32_t nProblemID, DBHEvent event);
    // One event view line and one history event of the notification kind.
    void WriteNotificationEvent(const NotificationJob& job, int kind, const std::string& text);
    // One event view line and one history event of the action kind.
    void WriteActionEvent(const PendingAction& action, int kind, const std::string& text);
    // Adds 1 to the problem's error count; returns the new count (0 when the
    // problem cannot be read).
    int32_t CountErrorSignal(int32_t nProblemID);

    CDBEngineTARN& Database() { return m_database; }
    IConsoleView& View() { return m_view; }
    std::time_t Now() const { return m_now(); }

private:
    DBHEvent ConsoleEvent(const std::string& computer, int32_t category, const std::string& infoId,
                          const std::string& text) const;

    CDBEngineTARN& m_database;
    IConsoleView& m_view;
    std::function<std::time_t()> m_now;
    std::mutex m_eventViewLock;
};
