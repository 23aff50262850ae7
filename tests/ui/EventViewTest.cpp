// The event view: its lines, the 501-line rule, the protocol file, saving,
// clearing and sorting.
#include "BoxAnswerer.h"
#include "CEventLogModel.h"
#include "CReportList.h"
#include "CViewLogDialog.h"
#include "DBTestSupport.h"
#include "TARNTool.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

#include <fstream>
#include <sstream>

class EventViewTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ShowsTheFourColumnsWithTheirWidths();
    void The502ndLineEmptiesTheList();
    void EmptyComputerShowsUnbekanntInViewAndProtocolFile();
    void ProtocolLinesNameTheirKind_data();
    void ProtocolLinesNameTheirKind();
    void SavingAnEmptyViewDeletesTheFileAndReportsSuccess();
    void SavingWritesEveryLineInTheListOrder();
    void SavingToAFolderThatIsMissingReportsTheError();
    void ClearAsksFirstAndOnlyYesClears();
    void DateColumnSortsByTimeInBothDirections();
    void FilterNarrowsToLinesContainingTheText();

private:
    std::unique_ptr<CTempDir> m_pDir;
    std::unique_ptr<CViewLogDialog> m_pView;
    std::unique_ptr<QAbstractItemModelTester> m_pTester;
    std::string Protocol() const { return m_pDir->File("protocol.log"); }
    void Add(int kind, std::time_t time, const QString& computer, const QString& text,
             bool toProtocol = false) {
        m_pView->AddEvent(kind, time, computer, QStringLiteral("Ping"), text,
                          toProtocol ? Protocol() : std::string());
    }
};

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

QString Cell(CReportList& list, int row, int column) {
    return list.model()->index(row, column).data().toString();
}

} // namespace

void EventViewTest::init() {
    m_pDir = std::make_unique<CTempDir>();
    m_pView = std::make_unique<CViewLogDialog>();
    m_pTester = std::make_unique<QAbstractItemModelTester>(
        &m_pView->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void EventViewTest::cleanup() {
    m_pTester.reset();
    m_pView.reset();
    m_pDir.reset();
}

void EventViewTest::ShowsTheFourColumnsWithTheirWidths() {
    CReportList& list = m_pView->List();
    const QStringList headers = {"Datum/Zeit", "Computer", "Überwachung", "Beschreibung"};
    const int widths[] = {120, 100, 100, 200};
    for (int column = 0; column < 4; ++column) {
        QCOMPARE(list.model()->headerData(column, Qt::Horizontal).toString(), headers[column]);
        QCOMPARE(list.columnWidth(column), widths[column]);
    }
}

void EventViewTest::The502ndLineEmptiesTheList() {
    for (int line = 1; line <= 501; ++line)
        Add(EVENT_VIEW_INFO, 1700000000 + line, QStringLiteral("alpha"), QString::number(line));
    QCOMPARE(m_pView->Model().rowCount(), 501);
    Add(EVENT_VIEW_WARNING, 1700001000, QStringLiteral("alpha"), QStringLiteral("502"));
    QCOMPARE(m_pView->Model().rowCount(), 1);
    QCOMPARE(Cell(m_pView->List(), 0, CEventLogModel::ColumnDescription), QStringLiteral("502"));
}

void EventViewTest::EmptyComputerShowsUnbekanntInViewAndProtocolFile() {
    Add(EVENT_VIEW_ERROR, 1700000000, QString(), QStringLiteral("Fehlertext"), true);
    QCOMPARE(Cell(m_pView->List(), 0, CEventLogModel::ColumnComputer), QStringLiteral("unbekannt"));
    const std::string expected =
        "[" + FormatDisplayTime(1700000000) + "] [Fehler] [Ping] [unbekannt]: Fehlertext\n";
    QCOMPARE(ReadAll(Protocol()), expected);
}

void EventViewTest::ProtocolLinesNameTheirKind_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("word");
    QTest::newRow("info") << 1 << "Info";
    QTest::newRow("warning") << 2 << "Warnung";
    QTest::newRow("error") << 3 << "Fehler";
    QTest::newRow("problem opened") << 4 << "Info";
    QTest::newRow("unresolved") << 5 << "Info";
    QTest::newRow("resolved") << 6 << "Info";
}

void EventViewTest::ProtocolLinesNameTheirKind() {
    QFETCH(int, kind);
    QFETCH(QString, word);
    Add(kind, 1700000000, QStringLiteral("beta"), QStringLiteral("Text"), true);
    const std::string line = ReadAll(Protocol());
    QVERIFY2(line.find("] [" + word.toStdString() + "] [Ping] [beta]: Text\n") != std::string::npos,
             line.c_str());
    QCOMPARE(m_pView->Model().index(0, 0).data(CEventLogModel::kKindRole).toInt(), kind);
}

void EventViewTest::SavingAnEmptyViewDeletesTheFileAndReportsSuccess() {
    const QString target = QString::fromStdString(m_pDir->File("saved.txt"));
    std::ofstream(target.toStdString()) << "old contents\n";
    CBoxAnswerer answer(QMessageBox::Ok);
    m_pView->SaveAndReport(target, QStringLiteral("velda TARN! 2.5"));
    QVERIFY(answer.Answered());
    QCOMPARE(answer.Text(),
             QStringLiteral("Die TARN! Ereignisanzeige wurde erfolgreich gespeichert"));
    QCOMPARE(answer.Icon(), QMessageBox::Information);
    QVERIFY(!QFile::exists(target));
}

void EventViewTest::SavingWritesEveryLineInTheListOrder() {
    Add(EVENT_VIEW_INFO, 1700000300, QStringLiteral("c"), QStringLiteral("third"));
    Add(EVENT_VIEW_INFO, 1700000100, QString(), QStringLiteral("first"));
    Add(EVENT_VIEW_INFO, 1700000200, QStringLiteral("b"), QStringLiteral("second"));
    m_pView->List().sortByColumn(CEventLogModel::ColumnTime, Qt::AscendingOrder);
    m_pView->Filter().setText(QStringLiteral("third")); // hidden lines are saved too
    const std::string target = m_pDir->File("saved.txt");
    QVERIFY(m_pView->Save(QString::fromStdString(target)));
    const std::string expected =
        "[" + FormatDisplayTime(1700000100) + "] [Info] [Ping] [unbekannt]: first\n" + "[" +
        FormatDisplayTime(1700000200) + "] [Info] [Ping] [b]: second\n" + "[" +
        FormatDisplayTime(1700000300) + "] [Info] [Ping] [c]: third\n";
    QCOMPARE(ReadAll(target), expected);
}

void EventViewTest::SavingToAFolderThatIsMissingReportsTheError() {
    Add(EVENT_VIEW_INFO, 1700000000, QStringLiteral("a"), QStringLiteral("line"));
    CBoxAnswerer answer(QMessageBox::Ok);
    m_pView->SaveAndReport(QString::fromStdString(m_pDir->File("missing/saved.txt")),
                           QStringLiteral("velda TARN! 2.5"));
    QCOMPARE(answer.Text(),
             QStringLiteral("Die TARN! Ereignisanzeige konnte nicht gespeichert werden"));
    QCOMPARE(answer.Caption(), QStringLiteral("TARN! Fehler aufgetreten"));
    QCOMPARE(answer.Icon(), QMessageBox::Critical);
}

void EventViewTest::ClearAsksFirstAndOnlyYesClears() {
    Add(EVENT_VIEW_INFO, 1700000000, QStringLiteral("a"), QStringLiteral("line"), true);
    for (QMessageBox::StandardButton button : {QMessageBox::No, QMessageBox::Cancel}) {
        CBoxAnswerer answer(button);
        m_pView->AskAndClear(QStringLiteral("velda TARN! 2.5"));
        QCOMPARE(answer.Text(), QStringLiteral("Möchten Sie wirklich alle Einträge entfernen?"));
        QCOMPARE(answer.Icon(), QMessageBox::Question);
        QCOMPARE(m_pView->Model().rowCount(), 1);
    }
    CBoxAnswerer yes(QMessageBox::Yes);
    m_pView->AskAndClear(QStringLiteral("velda TARN! 2.5"));
    QVERIFY(yes.Answered());
    QCOMPARE(m_pView->Model().rowCount(), 0);
    QVERIFY(!ReadAll(Protocol()).empty()); // the protocol file keeps its lines
}

void EventViewTest::DateColumnSortsByTimeInBothDirections() {
    // Display texts that sort the other way round as text: times across a year end.
    Add(EVENT_VIEW_INFO, 1704067200 + 3600, QStringLiteral("a"), QStringLiteral("new year"));
    Add(EVENT_VIEW_INFO, 1703980800, QStringLiteral("b"), QStringLiteral("december"));
    Add(EVENT_VIEW_INFO, 1704067200 + 60, QStringLiteral("c"), QStringLiteral("midnight"));
    CReportList& list = m_pView->List();
    list.sortByColumn(CEventLogModel::ColumnTime, Qt::AscendingOrder);
    QCOMPARE(Cell(list, 0, 3), QStringLiteral("december"));
    QCOMPARE(Cell(list, 1, 3), QStringLiteral("midnight"));
    QCOMPARE(Cell(list, 2, 3), QStringLiteral("new year"));
    list.sortByColumn(CEventLogModel::ColumnTime, Qt::DescendingOrder);
    QCOMPARE(Cell(list, 0, 3), QStringLiteral("new year"));
    list.sortByColumn(CEventLogModel::ColumnComputer, Qt::DescendingOrder);
    QCOMPARE(Cell(list, 0, 1), QStringLiteral("c"));
}

void EventViewTest::FilterNarrowsToLinesContainingTheText() {
    Add(EVENT_VIEW_INFO, 1700000000, QStringLiteral("alpha"), QStringLiteral("Dienst angehalten"));
    Add(EVENT_VIEW_INFO, 1700000001, QStringLiteral("beta"), QStringLiteral("Ping gescheitert"));
    Add(EVENT_VIEW_INFO, 1700000002, QString(), QStringLiteral("gestartet"));
    m_pView->Filter().setText(QStringLiteral("ALPHA"));
    QCOMPARE(m_pView->List().model()->rowCount(), 1);
    m_pView->Filter().setText(QStringLiteral("unbekannt")); // the computer as shown
    QCOMPARE(m_pView->List().model()->rowCount(), 1);
    QCOMPARE(Cell(m_pView->List(), 0, 3), QStringLiteral("gestartet"));
    m_pView->Filter().clear();
    QCOMPARE(m_pView->List().model()->rowCount(), 3);
}

QTEST_MAIN(EventViewTest)
#include "EventViewTest.moc"
