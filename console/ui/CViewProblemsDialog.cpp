#include "CViewProblemsDialog.h"

#include "CDBEngineTARN.h"
#include "CMessageBox.h"
#include "CReportList.h"
#include "LUTool.h"
#include "MessageIds.h"
#include "UiText.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

void ReportUnknownStatus(int image) {
    if (!image)
        TARN_ASSERT_FAIL("Unbekannter Problemstatus");
}

std::vector<CProblemModel::Row> ReadProblems(CDBEngineTARN* database) {
    DBHProblemList problems;
    database->GetAllProblems(0, 0, problems);
    std::vector<CProblemModel::Row> rows;
    rows.reserve(problems.size());
    for (const DBHProblem& problem : problems)
        rows.push_back(CProblemModel::MakeRow(problem));
    return rows;
}

} // namespace

CViewProblemsDialog::CViewProblemsDialog(CDBEngineTARN& database, QString caption, QWidget* parent)
    : QWidget(parent), m_database(database), m_strCaption(std::move(caption)) {
    m_pProblemList = new CReportList(&m_problems, {100, 100, 60, 110, 110, 200});
    m_pEventList = new CReportList(&m_events, {110, 110, 200});
    auto* filter = new QLineEdit;
    filter->setPlaceholderText(UiText(IDS_FILTER_HINT));
    filter->setClearButtonEnabled(true);
    connect(filter, &QLineEdit::textChanged, m_pProblemList, &CReportList::SetFilterText);
    BuildLayout(filter);

    m_pProblemList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pProblemList, &QWidget::customContextMenuRequested, this,
            &CViewProblemsDialog::ShowContextMenu);
    connect(m_pProblemList, &QAbstractItemView::clicked, this,
            &CViewProblemsDialog::ShowSelectedEvents);
    connect(m_pProblemList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CViewProblemsDialog::ShowSelectedEvents);
    m_pProblemList->installEventFilter(this);
    m_pEventList->installEventFilter(this);
    connect(&m_problemWatcher, &QFutureWatcherBase::finished, this,
            &CViewProblemsDialog::OnProblemsLoaded);
    connect(&m_eventWatcher, &QFutureWatcherBase::finished, this,
            &CViewProblemsDialog::OnEventsLoaded);
}

CViewProblemsDialog::~CViewProblemsDialog() {
    for (QFuture<void>& future : m_running)
        future.waitForFinished();
}

void CViewProblemsDialog::BuildLayout(QLineEdit* filter) {
    auto* label = new QLabel(UiText(IDS_FILTER_LABEL));
    label->setBuddy(filter);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(label);
    filterRow->addWidget(filter);
    auto* group = new QGroupBox(UiText(IDS_PROBLEM_VIEW_TITLE));
    auto* inner = new QVBoxLayout(group);
    inner->addLayout(filterRow);
    inner->addWidget(m_pProblemList, 1);
    inner->addWidget(m_pEventList, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 10, 10);
    outer->addWidget(group);
    setTabOrder(filter, m_pProblemList);
    setTabOrder(m_pProblemList, m_pEventList);
}

void CViewProblemsDialog::Track(QFuture<void> future) {
    m_running.erase(std::remove_if(m_running.begin(), m_running.end(),
                                   [](const QFuture<void>& f) { return f.isFinished(); }),
                    m_running.end());
    m_running.push_back(std::move(future));
}

void CViewProblemsDialog::LoadProblems() {
    m_bLoading = true;
    emit loadingChanged(true);
    m_events.Clear();
    m_nShownProblem = 0;
    m_nLoadingEventsOf = 0;
    QFuture<std::vector<CProblemModel::Row>> future = QtConcurrent::run(ReadProblems, &m_database);
    m_problemWatcher.setFuture(future);
    Track(QFuture<void>(future));
}

void CViewProblemsDialog::WaitForLoads() {
    while (m_bLoading || m_nLoadingEventsOf) {
        for (QFuture<void>& future : m_running)
            future.waitForFinished();
        QCoreApplication::processEvents();
    }
}

void CViewProblemsDialog::OnProblemsLoaded() {
    std::vector<CProblemModel::Row> rows = m_problemWatcher.result();
    for (const CProblemModel::Row& row : rows)
        ReportUnknownStatus(row.image);
    m_problems.SetRows(std::move(rows));
    for (const PendingChange& change : m_pending)
        ApplyChange(change);
    m_pending.clear();
    m_bLoading = false;
    m_bLoadedOnce = true;
    emit loadingChanged(false);
}

// A change that arrived during the read: the read may or may not hold it.
void CViewProblemsDialog::ApplyChange(const PendingChange& change) {
    if (m_problems.Update(change.problem) < 0 && change.added)
        m_problems.Add(change.problem);
}

void CViewProblemsDialog::AddProblem(const DBHProblem& problem) {
    ReportUnknownStatus(GetProblemStatusImage(static_cast<ProblemStatus>(problem.PROBLEM_STATUS)));
    if (m_bLoading) {
        m_pending.push_back({true, problem});
        return;
    }
    const int row = m_problems.Add(problem);
    if (m_bLoadedOnce) {
        m_pProblemList->SelectSourceRow(row);
        ShowSelectedEvents();
    }
}

void CViewProblemsDialog::UpdateProblem(const DBHProblem& problem) {
    ReportUnknownStatus(GetProblemStatusImage(static_cast<ProblemStatus>(problem.PROBLEM_STATUS)));
    if (m_bLoading)
        m_pending.push_back({false, problem});
    else
        m_problems.Update(problem);
}

void CViewProblemsDialog::AddProblemEvent(int32_t problemId, const DBHEvent& event) {
    const int32_t ProblemID = problemId;
    TARN_ASSERT(ProblemID > 0, "Ungültige ProblemID");
    if (ProblemID <= 0)
        return;
    if (ProblemID == m_nLoadingEventsOf)
        m_pendingEvents.push_back(event);
    else if (ProblemID == m_nShownProblem)
        m_events.Add(event);
}

void CViewProblemsDialog::ShowSelectedEvents() {
    const int row = m_pProblemList->CurrentSourceRow();
    if (row < 0) {
        m_events.Clear();
        m_nShownProblem = 0;
        m_nLoadingEventsOf = 0;
        return;
    }
    const int32_t problemId = m_problems.Problem(row).PROBLEM_ID;
    if (problemId == m_nShownProblem)
        return;
    m_events.Clear();
    m_nShownProblem = problemId;
    LoadEvents(problemId);
}

void CViewProblemsDialog::LoadEvents(int32_t problemId) {
    m_nLoadingEventsOf = problemId;
    m_pendingEvents.clear();
    CDBEngineTARN* database = &m_database;
    QFuture<DBHEventList> future = QtConcurrent::run([database, problemId] {
        DBHEventList events;
        database->GetProblemEventEntries(problemId, events);
        return events;
    });
    m_eventWatcher.setFuture(future);
    Track(QFuture<void>(future));
}

void CViewProblemsDialog::OnEventsLoaded() {
    if (!m_nLoadingEventsOf || m_nLoadingEventsOf != m_nShownProblem)
        return;
    DBHEventList events = m_eventWatcher.result();
    for (const DBHEvent& late : m_pendingEvents) {
        const bool known = std::any_of(events.begin(), events.end(), [&](const DBHEvent& e) {
            return e.EVENT_ID == late.EVENT_ID;
        });
        if (!known)
            events.push_back(late);
    }
    m_pendingEvents.clear();
    m_nLoadingEventsOf = 0;
    m_events.SetEvents(std::move(events));
}

void CViewProblemsDialog::DeleteSelectedProblem() {
    const int row = m_pProblemList->CurrentSourceRow();
    if (row < 0)
        return;
    if (CMessageBox::Ask(this, UiText(IDS_ASK_DELETE_PROBLEM), m_strCaption,
                         QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    const int shown = m_pProblemList->ShownRow(row);
    // A problem the database could not delete (its message was shown) stays listed.
    if (m_database.DeleteProblem(m_problems.Problem(row).PROBLEM_ID))
        m_problems.Remove(m_problems.Problem(row).PROBLEM_ID);
    const int count = m_pProblemList->Proxy().rowCount();
    if (count > 0)
        m_pProblemList->SelectSourceRow(m_pProblemList->SourceRow(std::min(shown, count - 1)));
    ShowSelectedEvents();
}

void CViewProblemsDialog::ShowContextMenu(const QPoint& position) {
    if (m_pProblemList->CurrentSourceRow() < 0)
        return;
    QMenu menu(this);
    menu.addAction(UiText(IDS_DELETE_PROBLEM), this, &CViewProblemsDialog::DeleteSelectedProblem);
    menu.exec(m_pProblemList->viewport()->mapToGlobal(position));
}

bool CViewProblemsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pProblemList && event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
            DeleteSelectedProblem();
            return true;
        }
        // The list moves its selection first; the events follow afterwards.
        QMetaObject::invokeMethod(this, &CViewProblemsDialog::ShowSelectedEvents,
                                  Qt::QueuedConnection);
    } else if (watched == m_pEventList && event->type() == QEvent::FocusOut) {
        ShowSelectedEvents();
    }
    return QWidget::eventFilter(watched, event);
}
