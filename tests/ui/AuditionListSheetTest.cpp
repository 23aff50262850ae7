// The sheet "Überwachungen" against a real configuration database: the list
// with its states, activating and deactivating until applied, the plug-in
// check of Apply, removing with its question and the plug-in's clean-up,
// adding through the selection dialog, sorting; and the sheet as the running
// console opens it, with both worker threads going.
#include "AuditionSheetSupport.h"
#include "BoxAnswerer.h"
#include "CAuditionKindDialog.h"
#include "CAuditionListSheet.h"
#include "CAuditionPropertySheet.h"
#include "CReportList.h"
#include "ConsoleEngine.h"
#include "EngineFixture.h"
#include "PluginTestSupport.h"
#include "StringTable.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

class AuditionListSheetTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ListShowsEveryAuditionWithItsState();
    void DeactivatingTwoRowsStoresOnlyOnOk();
    void DoubleClickAndContextMenuChangeOnlyTheDisplay();
    void ApplyWithAnActivePluginAuditionWithoutPluginGives1034();
    void RemoveAsksAndLetsThePluginCleanUp();
    void EditAppliesTheStatesFirstAndOpensTheRowsSheet();
    void AddingANetworkAuditionNamesItNetzwerk();
    void HeaderClickSortsAndApplyFollowsTheListOrder();
    void DeletingWhileTheThreadsRunStopsAndRemovesTheEntryOnClose();

private:
    std::unique_ptr<CAuditionSheetSupport> m_pSupport;
    std::unique_ptr<CAuditionListSheet> m_pSheet;
    std::unique_ptr<QAbstractItemModelTester> m_pTester;

    void Open();
    QString Cell(int shownRow, int column) {
        return m_pSheet->List().model()->index(shownRow, column).data().toString();
    }
    void SelectShownRows(const std::vector<int>& rows);
};

void AuditionListSheetTest::init() {
    m_pSupport = std::make_unique<CAuditionSheetSupport>();
    QVERIFY(m_pSupport->IsReady());
}

void AuditionListSheetTest::cleanup() {
    m_pTester.reset();
    m_pSheet.reset();
    m_pSupport.reset();
}

void AuditionListSheetTest::Open() {
    m_pSheet = std::make_unique<CAuditionListSheet>(m_pSupport->Context());
    m_pTester = std::make_unique<QAbstractItemModelTester>(
        &m_pSheet->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    m_pSheet->show();
}

void AuditionListSheetTest::SelectShownRows(const std::vector<int>& rows) {
    QItemSelectionModel* selection = m_pSheet->List().selectionModel();
    selection->clearSelection();
    for (int row : rows)
        selection->select(m_pSheet->List().model()->index(row, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->setCurrentIndex(m_pSheet->List().model()->index(rows.front(), 0),
                               QItemSelectionModel::NoUpdate);
}

void AuditionListSheetTest::ListShowsEveryAuditionWithItsState() {
    m_pSupport->Store(AuditionType::Service, "Druckdienst", true, [](DBAudition& a) {
        a.Service.SERVER_PATH = "alpha";
        a.DESCRIPTION = "Warteschlange";
    });
    m_pSupport->Store(AuditionType::Logfile, "Protokoll", false);
    Open();
    QCOMPARE(m_pSheet->windowTitle(), QStringLiteral("Überwachungen"));
    QAbstractItemModel* list = m_pSheet->List().model();
    QStringList headers;
    for (int column = 0; column < list->columnCount(); ++column)
        headers << list->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(headers, QStringList({"Name", "Aktiv", "Computer", "Beschreibung"}));
    QCOMPARE(m_pSheet->List().ColumnWidths(), std::vector<int>({130, 50, 100, 140}));
    QCOMPARE(Cell(0, 0), QStringLiteral("Druckdienst"));
    QCOMPARE(Cell(0, 1), QStringLiteral("Ja"));
    QCOMPARE(list->index(0, 1).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(Cell(0, 2), QStringLiteral("alpha"));
    QCOMPARE(Cell(0, 3), QStringLiteral("Warteschlange"));
    QCOMPARE(Cell(1, 1), QStringLiteral("Nein"));
    QCOMPARE(list->index(1, 1).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(Cell(1, 2), QStringLiteral("unbekannt"));
}

void AuditionListSheetTest::DeactivatingTwoRowsStoresOnlyOnOk() {
    const DBAudition first = m_pSupport->Store(AuditionType::Net, "Eins", true);
    const DBAudition second = m_pSupport->Store(AuditionType::Net, "Zwei", true);
    const DBAudition third = m_pSupport->Store(AuditionType::Net, "Drei", true);
    Open();
    SelectShownRows({0, 1});
    m_pSheet->SetSelectedActive(false);
    QCOMPARE(Cell(0, 1), QStringLiteral("Nein"));
    QCOMPARE(Cell(1, 1), QStringLiteral("Nein"));
    QCOMPARE(Cell(2, 1), QStringLiteral("Ja"));
    m_pSheet->reject();
    QVERIFY(m_pSupport->Read(first.AUDITION_ID).ACTIVE);
    QVERIFY(m_pSupport->Read(second.AUDITION_ID).ACTIVE);

    Open();
    SelectShownRows({0, 1});
    m_pSheet->SetSelectedActive(false);
    m_pSheet->accept();
    QCOMPARE(m_pSheet->result(), int(QDialog::Accepted));
    QVERIFY(!m_pSupport->Read(first.AUDITION_ID).ACTIVE);
    QVERIFY(!m_pSupport->Read(second.AUDITION_ID).ACTIVE);
    QVERIFY(m_pSupport->Read(third.AUDITION_ID).ACTIVE);
}

void AuditionListSheetTest::DoubleClickAndContextMenuChangeOnlyTheDisplay() {
    const DBAudition stored = m_pSupport->Store(AuditionType::Net, "Ping", false);
    Open();
    CReportList& list = m_pSheet->List();
    QVERIFY(QTest::qWaitForWindowExposed(m_pSheet.get()));
    const QRect cell = list.visualRect(list.model()->index(0, 0));
    // A double click begins with a press on the row.
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(Cell(0, 1), QStringLiteral("Ja"));
    QVERIFY(!m_pSupport->Read(stored.AUDITION_ID).ACTIVE);
    SelectShownRows({0});
    std::unique_ptr<QMenu> menu(m_pSheet->MakeContextMenu());
    QStringList items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            items << action->text();
    QCOMPARE(items, QStringList({"&Hinzufügen...", "&Bearbeiten...", "Entfernen", "Aktivieren",
                                 "Deaktivieren"}));
    menu->actions().last()->trigger();
    QCOMPARE(Cell(0, 1), QStringLiteral("Nein"));
    menu->actions()[4]->trigger();
    QCOMPARE(Cell(0, 1), QStringLiteral("Ja"));
    QVERIFY(!m_pSupport->Read(stored.AUDITION_ID).ACTIVE);
    QVERIFY(m_pSheet->Apply());
    QVERIFY(m_pSupport->Read(stored.AUDITION_ID).ACTIVE);
}

// Nothing is stored, not even the rows before the plug-in audition.
void AuditionListSheetTest::ApplyWithAnActivePluginAuditionWithoutPluginGives1034() {
    const DBAudition net = m_pSupport->Store(AuditionType::Net, "Ping", true);
    const DBAudition orphan = m_pSupport->Store(AuditionType::Plugin, "Verwaist", false,
                                                [](DBAudition& a) { a.Plugin.PLUGIN_TYPE = 4711; });
    Open();
    m_pSheet->Model().SetActive(0, false);
    m_pSheet->Model().SetActive(1, true);
    {
        CBoxAnswerer box(QMessageBox::Ok);
        QVERIFY(!m_pSheet->Apply());
        QVERIFY(box.Answered());
        QCOMPARE(box.Text(), QString::fromStdString(LoadTarnString(1034)));
        QCOMPARE(box.Caption(), QStringLiteral("TARN! Fehler aufgetreten"));
        QCOMPARE(box.Icon(), QMessageBox::Warning);
    }
    QVERIFY(m_pSupport->Read(net.AUDITION_ID).ACTIVE);
    CBoxAnswerer box(QMessageBox::Ok);
    m_pSheet->accept();
    QVERIFY(box.Answered());
    QVERIFY(m_pSheet->isVisible());
    // Inactive, the audition needs no plug-in.
    m_pSheet->Model().SetActive(1, false);
    QVERIFY(m_pSheet->Apply());
    QVERIFY(!m_pSupport->Read(net.AUDITION_ID).ACTIVE);
    QVERIFY(!m_pSupport->Read(orphan.AUDITION_ID).ACTIVE);
}

void AuditionListSheetTest::RemoveAsksAndLetsThePluginCleanUp() {
    const DBAudition plugin =
        m_pSupport->Store(AuditionType::Plugin, "Prüfung", false, [](DBAudition& a) {
            a.Plugin.PLUGIN_TYPE = kTestPluginType;
            a.Plugin.SERVER_PATH = "alpha";
        });
    Open();
    SelectShownRows({0});
    TakeTestCalls(m_pSupport->Plugin());
    for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Cancel}) {
        CBoxAnswerer box(answer);
        m_pSheet->Remove();
        QVERIFY(box.Answered());
        QCOMPARE(box.Text(), QStringLiteral("Möchten Sie die Überwachung wirklich entfernen?"));
        QCOMPARE(box.Icon(), QMessageBox::Question);
    }
    QVERIFY(m_pSupport->Database().IsAuditionValid(plugin.AUDITION_ID));
    QCOMPARE(TakeTestCalls(m_pSupport->Plugin()), std::string());
    CBoxAnswerer box(QMessageBox::Yes);
    QTest::keyClick(&m_pSheet->List(), Qt::Key_Delete);
    QVERIFY(box.Answered());
    QVERIFY(!m_pSupport->Database().IsAuditionValid(plugin.AUDITION_ID));
    QCOMPARE(m_pSheet->Model().rowCount(), 0);
    QCOMPARE(TakeTestCalls(m_pSupport->Plugin()),
             "Create(" + std::to_string(plugin.AUDITION_ID) + ",alpha);Deleting;Destroy(alpha);");
    // Without a selected row nothing is asked.
    m_pSheet->Remove();
}

void AuditionListSheetTest::EditAppliesTheStatesFirstAndOpensTheRowsSheet() {
    const DBAudition first = m_pSupport->Store(AuditionType::Net, "Eins", true);
    const DBAudition second = m_pSupport->Store(AuditionType::Net, "Zwei", false);
    Open();
    m_pSheet->Model().SetActive(0, false);
    SelectShownRows({1});
    QString shownName;
    CDialogDriver<CAuditionPropertySheet> properties([&](CAuditionPropertySheet& sheet) {
        shownName = sheet.findChild<QLineEdit*>(QStringLiteral("NAME"))->text();
        sheet.reject();
    });
    m_pSheet->findChild<QPushButton*>(QStringLiteral("Edit"))->click();
    QVERIFY(properties.Done());
    QCOMPARE(shownName, QStringLiteral("Zwei"));
    QVERIFY(!m_pSupport->Read(first.AUDITION_ID).ACTIVE);
    QVERIFY(!m_pSupport->Read(second.AUDITION_ID).ACTIVE);
    QCOMPARE(m_pSheet->List().CurrentSourceRow(), m_pSheet->Model().RowOfId(second.AUDITION_ID));
}

void AuditionListSheetTest::AddingANetworkAuditionNamesItNetzwerk() {
    Open();
    QString shownName;
    CDialogDriver<CAuditionKindDialog> kinds([](CAuditionKindDialog& dialog) {
        QStandardItemModel& model = dialog.Model();
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.item(row)->text() == QStringLiteral("Netzwerk"))
                dialog.Tree().setCurrentIndex(model.item(row)->index());
        dialog.accept();
    });
    CDialogDriver<CAuditionPropertySheet> properties([&](CAuditionPropertySheet& sheet) {
        shownName = sheet.findChild<QLineEdit*>(QStringLiteral("NAME"))->text();
        sheet.findChild<QLineEdit*>(QStringLiteral("IP_ADDRESS"))->setText("127.0.0.1");
        sheet.accept();
    });
    m_pSheet->Add();
    QVERIFY(kinds.Done() && properties.Done());
    QCOMPARE(shownName, QStringLiteral("Netzwerk"));
    DBAuditionList stored;
    QVERIFY(m_pSupport->Database().GetAllAuditions(stored));
    QCOMPARE(stored.size(), size_t(1));
    QCOMPARE(stored[0].NAME, std::string("Netzwerk"));
    QCOMPARE(stored[0].Net.IP_ADDRESS, std::string("127.0.0.1"));
    QVERIFY(!stored[0].ACTIVE);
    QCOMPARE(Cell(0, 0), QStringLiteral("Netzwerk"));
    QCOMPARE(m_pSheet->List().CurrentSourceRow(), 0);
}

// Sorting changes only the order shown: a state set on a shown row is
// stored for that row's audition.
void AuditionListSheetTest::HeaderClickSortsAndApplyFollowsTheListOrder() {
    m_pSupport->Store(AuditionType::Net, "Beta", true);
    const DBAudition alpha = m_pSupport->Store(AuditionType::Net, "Alpha", false);
    m_pSupport->Store(AuditionType::Net, "Gamma", true);
    Open();
    QHeaderView* header = m_pSheet->List().header();
    const auto clickHeader = [&](int column) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    clickHeader(0);
    QCOMPARE(QStringList({Cell(0, 0), Cell(1, 0), Cell(2, 0)}),
             QStringList({"Alpha", "Beta", "Gamma"}));
    clickHeader(0);
    QCOMPARE(QStringList({Cell(0, 0), Cell(1, 0), Cell(2, 0)}),
             QStringList({"Gamma", "Beta", "Alpha"}));
    clickHeader(1);
    QCOMPARE(QStringList({Cell(0, 1), Cell(1, 1), Cell(2, 1)}), QStringList({"Ja", "Ja", "Nein"}));
    QCOMPARE(Cell(2, 0), QStringLiteral("Alpha"));
    SelectShownRows({2});
    m_pSheet->SetSelectedActive(true);
    QVERIFY(m_pSheet->Apply());
    DBAuditionList stored;
    QVERIFY(m_pSupport->Database().GetAllAuditions(stored));
    for (const DBAudition& audition : stored)
        QVERIFY2(audition.ACTIVE, audition.NAME.c_str());
    QVERIFY(m_pSupport->Read(alpha.AUDITION_ID).ACTIVE);
}

namespace {

// The engine of a running console over the support's database, with both
// worker threads, passes every 100 ms and pings that are always answered.
class CRunningEngine {
public:
    CRunningEngine(CAuditionSheetSupport& support, const std::string& dataDirectory) {
        m_settings.ProgramDirectory = dataDirectory + "bin/";
        m_settings.InstallationDirectory = dataDirectory;
        m_settings.RegistryFile = dataDirectory + "registry.ini";
        m_settings.SetDataDirectory(dataDirectory);
        ConsoleEngineOptions options;
        options.AuditPeriod = std::chrono::milliseconds(100);
        options.NotificationPeriod = std::chrono::milliseconds(100);
        options.Pinger = &m_pinger;
        m_pEngine = std::make_unique<CConsoleEngine>(support.Database(), m_settings, nullptr,
                                                     m_view, m_ui, options);
        m_pEngine->InitializeFrame();
        m_pEngine->SynchronizeAuditionList();
    }
    ~CRunningEngine() { m_pEngine->ShutdownFrame(); }
    CConsoleEngine& Engine() { return *m_pEngine; }
    // The keys of the list's entries.
    std::vector<int32_t> Entries() {
        CAuditionList& list = m_pEngine->GetAuditionList();
        CAuditionListLock lock(list);
        std::vector<int32_t> ids;
        for (int index = 0; index < list.GetSize(); ++index)
            ids.push_back(list.GetAt(index).Definition.AUDITION_ID);
        return ids;
    }

private:
    CGlobalSettings m_settings;
    QuietView m_view;
    class : public IPinger {
    public:
        int32_t Ping(const std::string&, uint32_t) override { return 1; }
    } m_pinger;
    CHeadlessPluginUI m_ui{false};
    std::unique_ptr<CConsoleEngine> m_pEngine;
};

} // namespace

void AuditionListSheetTest::DeletingWhileTheThreadsRunStopsAndRemovesTheEntryOnClose() {
    const DBAudition kept = m_pSupport->Store(AuditionType::Net, "Bleibt", true, [](DBAudition& a) {
        a.Net.IP_ADDRESS = "127.0.0.1";
        a.Net.CHECK_INTERVAL = 1;
    });
    const DBAudition removed =
        m_pSupport->Store(AuditionType::Net, "Geht", true, [](DBAudition& a) {
            a.Net.IP_ADDRESS = "127.0.0.2";
            a.Net.CHECK_INTERVAL = 1;
        });
    CRunningEngine running(*m_pSupport, m_pSupport->DataDirectory());
    QCOMPARE(running.Entries(), std::vector<int32_t>({kept.AUDITION_ID, removed.AUDITION_ID}));
    std::vector<int32_t> whileOpen;
    bool asked = false;
    CDialogDriver<CAuditionListSheet> driver([&](CAuditionListSheet& sheet) {
        CReportList& list = sheet.List();
        list.SelectSourceRow(sheet.Model().RowOfId(removed.AUDITION_ID));
        CBoxAnswerer box(QMessageBox::Yes);
        sheet.Remove();
        asked = box.Answered();
        whileOpen = running.Entries();
        sheet.accept();
    });
    CAuditionListSheet::Run(running.Engine(), m_pSupport->Context(), nullptr);
    QVERIFY(driver.Done() && asked);
    QCOMPARE(whileOpen.size(), size_t(2));
    QCOMPARE(running.Entries(), std::vector<int32_t>({kept.AUDITION_ID}));
    QVERIFY(!m_pSupport->Database().IsAuditionValid(removed.AUDITION_ID));
}

QTEST_MAIN(AuditionListSheetTest)
#include "AuditionListSheetTest.moc"
