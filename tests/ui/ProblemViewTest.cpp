// The problem view over a real history file: the start-up read, live
// changes, the events of the selection, deleting, sorting, and the database
// error box raised while the user interface thread waits.
#include "BoxAnswerer.h"
#include "CDesktopDBReporter.h"
#include "CProblemEventModel.h"
#include "CProblemModel.h"
#include "CReportList.h"
#include "CViewProblemsDialog.h"
#include "DBTestSupport.h"
#include "TARNTool.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QtTest>

class ProblemViewTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void StartShowsTheStoredProblemsWithoutSelecting();
    void ColumnsImagesAndColoursFollowTheStatus();
    void LiveProblemsAreSelectedAndChangesRewriteTheirLine();
    void EventsFollowTheSelectionByArrowKey();
    void EventsOfOtherProblemsAreNotAdded();
    void DeleteKeyAsksFirstAndDeletesOnYes();
    void DeletingTheOnlyProblemLeavesBothListsEmpty();
    void SortingByProblemStartSortsByTime();
    void UnknownStatusIsReported();
    void ChangesDuringTheReadAreKept();
    void DatabaseErrorBoxWhileTheUiThreadWaitsDoesNotDeadlock();

private:
    std::unique_ptr<CTempDir> m_pDir;
    std::unique_ptr<CTraceCapture> m_pTrace;
    std::unique_ptr<CDBEngineTARN> m_pDB;
    std::unique_ptr<CViewProblemsDialog> m_pView;
    std::unique_ptr<QAbstractItemModelTester> m_pProblemTester, m_pEventTester;

    DBHProblem Store(const std::string& computer, int32_t status, const std::string& begin);
    DBHEvent StoreEvent(int32_t problemId, int32_t category, const std::string& text);
    void Open();
    QString Cell(CReportList& list, int row, int column) {
        return list.model()->index(row, column).data().toString();
    }
};

DBHProblem ProblemViewTest::Store(const std::string& computer, int32_t status,
                                  const std::string& begin) {
    DBHProblem problem;
    problem.PROBLEM_ID = DB_KEY_NEW;
    problem.PROBLEM_STATUS = status;
    problem.PROBLEM_DESCRIPTION = "Fehler auf " + computer;
    problem.PROBLEM_BEGIN = begin;
    problem.PROBLEM_END = status == PROBLEM_OPEN ? "" : begin;
    problem.AUDITION_ID = 1;
    problem.AUDITION_NAME = "Druckdienst";
    problem.COMPUTER_NAME = computer;
    if (!m_pDB->SetProblem(problem))
        qFatal("cannot store a problem");
    return problem;
}

DBHEvent ProblemViewTest::StoreEvent(int32_t problemId, int32_t category, const std::string& text) {
    DBHEvent event;
    event.EVENT_ID = DB_KEY_NEW;
    event.DATE = "20240115100000";
    event.CATEGORY = category;
    event.EVENT_DESCRIPTION = text;
    event.PROBLEM_ID = problemId;
    if (!m_pDB->SetEventEntry(event))
        qFatal("cannot store an event");
    return event;
}

void ProblemViewTest::init() {
    m_pDir = std::make_unique<CTempDir>();
    m_pTrace = std::make_unique<CTraceCapture>(*m_pDir);
    DBFiles files = CreateFreshFiles(*m_pDir);
    m_pDB = std::make_unique<CDBEngineTARN>();
    bool config = false, history = false;
    m_pDB->Open(files.Config, files.History, config, history);
    QVERIFY(config && history);
}

void ProblemViewTest::Open() {
    m_pView = std::make_unique<CViewProblemsDialog>(*m_pDB, QStringLiteral("velda TARN! 2.5"));
    m_pProblemTester = std::make_unique<QAbstractItemModelTester>(
        &m_pView->Problems(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    m_pEventTester = std::make_unique<QAbstractItemModelTester>(
        &m_pView->Events(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    m_pView->resize(700, 500);
    m_pView->show();
    m_pView->LoadProblems();
    m_pView->WaitForLoads();
}

void ProblemViewTest::cleanup() {
    m_pProblemTester.reset();
    m_pEventTester.reset();
    m_pView.reset();
    m_pDB.reset();
    m_pTrace.reset();
    m_pDir.reset();
}

void ProblemViewTest::StartShowsTheStoredProblemsWithoutSelecting() {
    Store("alpha", PROBLEM_OPEN, "20240115100000");
    Store("", PROBLEM_RESOLVED, "20240115110000");
    Open();
    CReportList& list = m_pView->ProblemList();
    QCOMPARE(list.model()->rowCount(), 2);
    QCOMPARE(Cell(list, 0, CProblemModel::ColumnComputer), QStringLiteral("alpha"));
    QCOMPARE(Cell(list, 1, CProblemModel::ColumnComputer), QStringLiteral("unbekannt"));
    QCOMPARE(list.CurrentSourceRow(), -1);
    QCOMPARE(m_pView->Events().rowCount(), 0);
    QCOMPARE(m_pView->ShownProblemId(), 0);
}

void ProblemViewTest::ColumnsImagesAndColoursFollowTheStatus() {
    Store("a", PROBLEM_OPEN, "20240115100000");
    Store("b", PROBLEM_UNRESOLVED, "20240115100000");
    Store("c", PROBLEM_RESOLVED, "20240115100000");
    Open();
    CReportList& list = m_pView->ProblemList();
    const QStringList headers = {"Computer",     "Überwachung", "Status",
                                 "Problemstart", "Problemende", "Beschreibung"};
    const int widths[] = {100, 100, 60, 110, 110, 200};
    for (int column = 0; column < 6; ++column) {
        QCOMPARE(list.model()->headerData(column, Qt::Horizontal).toString(), headers[column]);
        QCOMPARE(list.columnWidth(column), widths[column]);
    }
    const QStringList status = {"Offen", "ungelöst", "gelöst"};
    QSet<QRgb> tints;
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(Cell(list, row, CProblemModel::ColumnStatus), status[row]);
        QVERIFY(!list.model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        tints.insert(
            list.model()->index(row, 2).data(Qt::BackgroundRole).value<QBrush>().color().rgb());
    }
    QCOMPARE(tints.size(), 3);
    QCOMPARE(Cell(list, 0, CProblemModel::ColumnBegin),
             QString::fromStdString(TimeStampToDisplayText("20240115100000")));
    QCOMPARE(Cell(list, 0, CProblemModel::ColumnEnd), QString());
    QCOMPARE(Cell(list, 1, CProblemModel::ColumnEnd), Cell(list, 1, CProblemModel::ColumnBegin));
}

void ProblemViewTest::LiveProblemsAreSelectedAndChangesRewriteTheirLine() {
    Store("alpha", PROBLEM_OPEN, "20240115100000");
    Open();
    DBHProblem live = Store("beta", PROBLEM_OPEN, "20240115120000");
    StoreEvent(live.PROBLEM_ID, 1, "Dienst angehalten");
    m_pView->AddProblem(live);
    m_pView->WaitForLoads();
    QCOMPARE(m_pView->Problems().rowCount(), 2);
    QCOMPARE(m_pView->ProblemList().CurrentSourceRow(), 1);
    QCOMPARE(m_pView->ShownProblemId(), live.PROBLEM_ID);
    QCOMPARE(m_pView->Events().rowCount(), 1);
    live.PROBLEM_STATUS = PROBLEM_RESOLVED;
    live.PROBLEM_END = "20240115123000";
    m_pView->UpdateProblem(live);
    QCOMPARE(Cell(m_pView->ProblemList(), 1, CProblemModel::ColumnStatus),
             QStringLiteral("gelöst"));
    DBHProblem stranger = live;
    stranger.PROBLEM_ID = 999;
    m_pView->UpdateProblem(stranger); // no such line: nothing
    QCOMPARE(m_pView->Problems().rowCount(), 2);
}

void ProblemViewTest::EventsFollowTheSelectionByArrowKey() {
    DBHProblem first = Store("alpha", PROBLEM_OPEN, "20240115100000");
    DBHProblem second = Store("beta", PROBLEM_OPEN, "20240115110000");
    StoreEvent(first.PROBLEM_ID, 1, "Signal");
    StoreEvent(second.PROBLEM_ID, 11, "Benachrichtigt");
    StoreEvent(second.PROBLEM_ID, 10, "Neustart");
    Open();
    CReportList& list = m_pView->ProblemList();
    list.setFocus();
    list.SelectSourceRow(0);
    m_pView->WaitForLoads();
    QCOMPARE(m_pView->Events().rowCount(), 1);
    QCOMPARE(Cell(m_pView->EventList(), 0, 0), QStringLiteral("Fehlersignal"));
    QTest::keyClick(&list, Qt::Key_Down);
    QTRY_COMPARE(m_pView->ShownProblemId(), second.PROBLEM_ID);
    m_pView->WaitForLoads();
    QCOMPARE(m_pView->Events().rowCount(), 2);
    QCOMPARE(Cell(m_pView->EventList(), 0, 0), QStringLiteral("Benachrichtigung"));
    QCOMPARE(Cell(m_pView->EventList(), 1, 0), QStringLiteral("Aktion"));
    QCOMPARE(Cell(m_pView->EventList(), 0, 2), QStringLiteral("Benachrichtigt"));
}

void ProblemViewTest::EventsOfOtherProblemsAreNotAdded() {
    DBHProblem shown = Store("alpha", PROBLEM_OPEN, "20240115100000");
    DBHProblem other = Store("beta", PROBLEM_OPEN, "20240115100000");
    Open();
    m_pView->ProblemList().SelectSourceRow(0);
    m_pView->WaitForLoads();
    m_pView->AddProblemEvent(shown.PROBLEM_ID, StoreEvent(shown.PROBLEM_ID, 11, "hier"));
    m_pView->AddProblemEvent(other.PROBLEM_ID, StoreEvent(other.PROBLEM_ID, 11, "dort"));
    QCOMPARE(m_pView->Events().rowCount(), 1);
    QCOMPARE(m_pView->Events().Event(0).EVENT_DESCRIPTION, std::string("hier"));
    m_pView->AddProblemEvent(0, DBHEvent{});
    QCOMPARE(m_pTrace->Count("ProblemID > 0", "Ungültige ProblemID"), 1);
    QCOMPARE(m_pView->Events().rowCount(), 1);
}

void ProblemViewTest::DeleteKeyAsksFirstAndDeletesOnYes() {
    Store("alpha", PROBLEM_OPEN, "20240115100000");
    DBHProblem second = Store("beta", PROBLEM_OPEN, "20240115110000");
    StoreEvent(second.PROBLEM_ID, 1, "Signal");
    Open();
    CReportList& list = m_pView->ProblemList();
    list.setFocus();
    list.SelectSourceRow(0);
    {
        CBoxAnswerer no(QMessageBox::No);
        QTest::keyClick(&list, Qt::Key_Delete);
        QVERIFY(no.Answered());
        QCOMPARE(no.Text(),
                 QStringLiteral("Möchten Sie den Problemeintrag wirklich permanent entfernen?"));
        QCOMPARE(no.Caption(), QStringLiteral("velda TARN! 2.5"));
        QCOMPARE(m_pView->Problems().rowCount(), 2);
    }
    CBoxAnswerer yes(QMessageBox::Yes);
    QTest::keyClick(&list, Qt::Key_Delete);
    QVERIFY(yes.Answered());
    m_pView->WaitForLoads();
    QCOMPARE(m_pView->Problems().rowCount(), 1);
    DBHProblemList stored;
    QVERIFY(m_pDB->GetAllProblems(0, 0, stored));
    QCOMPARE(stored.size(), size_t(1));
    QCOMPARE(stored[0].PROBLEM_ID, second.PROBLEM_ID);
    QCOMPARE(m_pView->ShownProblemId(), second.PROBLEM_ID); // the new selection's events
    QCOMPARE(m_pView->Events().rowCount(), 1);
}

void ProblemViewTest::DeletingTheOnlyProblemLeavesBothListsEmpty() {
    DBHProblem only = Store("alpha", PROBLEM_OPEN, "20240115100000");
    StoreEvent(only.PROBLEM_ID, 1, "Signal");
    Open();
    m_pView->ProblemList().SelectSourceRow(0);
    m_pView->WaitForLoads();
    QCOMPARE(m_pView->Events().rowCount(), 1);
    CBoxAnswerer yes(QMessageBox::Yes);
    m_pView->DeleteSelectedProblem();
    QCOMPARE(m_pView->Problems().rowCount(), 0);
    QCOMPARE(m_pView->Events().rowCount(), 0);
    QCOMPARE(m_pView->ShownProblemId(), 0);
}

void ProblemViewTest::SortingByProblemStartSortsByTime() {
    Store("b", PROBLEM_OPEN, "20240115093000");
    Store("c", PROBLEM_OPEN, "20231231235900");
    Store("a", PROBLEM_OPEN, "20240115100000");
    Open();
    CReportList& list = m_pView->ProblemList();
    list.sortByColumn(CProblemModel::ColumnBegin, Qt::AscendingOrder);
    QCOMPARE(Cell(list, 0, 0) + Cell(list, 1, 0) + Cell(list, 2, 0), QStringLiteral("cba"));
    list.sortByColumn(CProblemModel::ColumnBegin, Qt::DescendingOrder);
    QCOMPARE(Cell(list, 0, 0) + Cell(list, 1, 0) + Cell(list, 2, 0), QStringLiteral("abc"));
}

void ProblemViewTest::UnknownStatusIsReported() {
    Store("alpha", 3, "20240115100000");
    Open();
    QCOMPARE(m_pTrace->Count("FALSE", "Unbekannter Problemstatus"), 1);
    QCOMPARE(m_pView->Problems().rowCount(), 1);
    QCOMPARE(Cell(m_pView->ProblemList(), 0, CProblemModel::ColumnStatus), QString());
}

void ProblemViewTest::ChangesDuringTheReadAreKept() {
    DBHProblem stored = Store("alpha", PROBLEM_OPEN, "20240115100000");
    m_pView = std::make_unique<CViewProblemsDialog>(*m_pDB, QStringLiteral("velda TARN! 2.5"));
    m_pView->LoadProblems();
    QVERIFY(m_pView->IsLoading());
    DBHProblem live = Store("beta", PROBLEM_OPEN, "20240115110000");
    m_pView->AddProblem(live); // the read may or may not hold it already
    stored.PROBLEM_STATUS = PROBLEM_UNRESOLVED;
    m_pView->UpdateProblem(stored);
    m_pView->WaitForLoads();
    QCOMPARE(m_pView->Problems().rowCount(), 2);
    QCOMPARE(
        m_pView->Problems().Problem(m_pView->Problems().RowOfId(stored.PROBLEM_ID)).PROBLEM_STATUS,
        int32_t(PROBLEM_UNRESOLVED));
    QVERIFY(m_pView->Problems().RowOfId(live.PROBLEM_ID) >= 0);
}

// The database thread reports 1019 while this (the user interface) thread
// waits for it: the call returns, and the box shows once this thread is free.
void ProblemViewTest::DatabaseErrorBoxWhileTheUiThreadWaitsDoesNotDeadlock() {
    DBFiles files{m_pDir->File("TARN.MDB"), m_pDir->File("HISTORY.MDB")};
    m_pDB.reset();
    ExecSQL(files.History, "DROP TABLE PROBLEMS");
    CDesktopDBReporter reporter;
    CDBEngineTARN database(&reporter);
    bool config = false, history = false;
    database.Open(files.Config, files.History, config, history);
    QElapsedTimer waited;
    waited.start();
    DBHProblemList problems;
    QVERIFY(!database.GetAllProblems(0, 0, problems));
    QVERIFY(waited.elapsed() < 10000);
    QMessageBox* box = nullptr;
    QTRY_VERIFY((box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) != nullptr);
    QCOMPARE(box->windowTitle(), QStringLiteral("TARN! Fehler aufgetreten"));
    QCOMPARE(box->icon(), QMessageBox::Critical);
    QVERIFY(box->text().contains(QStringLiteral("Funktion:   \"GetAllProblems\"")));
    box->button(QMessageBox::Ok)->click();
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    database.Close();
}

QTEST_MAIN(ProblemViewTest)
#include "ProblemViewTest.moc"
