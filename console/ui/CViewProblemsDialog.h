// The problem view: the stored problems (upper list) and the history events
// of the selected one (lower list). The history is read on a worker thread,
// so that a large history never freezes the window; changes that arrive while
// it is being read are applied to the result.
#pragma once

#include "CProblemEventModel.h"
#include "CProblemModel.h"
#include "DBRecords.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QWidget>

#include <vector>

class CDBEngineTARN;
class CReportList;
class QLineEdit;

class CViewProblemsDialog : public QWidget {
    Q_OBJECT
public:
    CViewProblemsDialog(CDBEngineTARN& database, QString caption, QWidget* parent = nullptr);
    ~CViewProblemsDialog() override;

    // Reads every problem (again); the event list is emptied.
    void LoadProblems();
    bool IsLoading() const { return m_bLoading; }
    // Waits until a running read has been shown (tests and shutdown).
    void WaitForLoads();

    // A problem stored for the first time: appended, and after the first load
    // selected with its events shown.
    void AddProblem(const DBHProblem& problem);
    // Rewrites the problem's line; none: nothing.
    void UpdateProblem(const DBHProblem& problem);
    // Adds the event when its problem's events are the ones shown.
    void AddProblemEvent(int32_t problemId, const DBHEvent& event);
    // Asks question 4008 and deletes the selected problem on yes.
    void DeleteSelectedProblem();
    // Shows the events of the selected problem (reads them when it changed).
    void ShowSelectedEvents();

    int32_t ShownProblemId() const { return m_nShownProblem; }
    CProblemModel& Problems() { return m_problems; }
    CProblemEventModel& Events() { return m_events; }
    CReportList& ProblemList() { return *m_pProblemList; }
    CReportList& EventList() { return *m_pEventList; }

signals:
    void loadingChanged(bool loading);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct PendingChange {
        bool added;
        DBHProblem problem;
    };

    void BuildLayout(QLineEdit* filter);
    void OnProblemsLoaded();
    void OnEventsLoaded();
    void LoadEvents(int32_t problemId);
    void ApplyChange(const PendingChange& change);
    void ShowContextMenu(const QPoint& position);
    void Track(QFuture<void> future);

    CDBEngineTARN& m_database;
    QString m_strCaption;
    CProblemModel m_problems;
    CProblemEventModel m_events;
    CReportList* m_pProblemList;
    CReportList* m_pEventList;
    QFutureWatcher<std::vector<CProblemModel::Row>> m_problemWatcher;
    QFutureWatcher<DBHEventList> m_eventWatcher;
    std::vector<QFuture<void>> m_running;
    bool m_bLoading = false;
    bool m_bLoadedOnce = false;
    std::vector<PendingChange> m_pending;
    int32_t m_nShownProblem = 0;
    int32_t m_nLoadingEventsOf = 0;
    std::vector<DBHEvent> m_pendingEvents;
};
