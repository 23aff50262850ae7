// The sheet "Überwachungseigenschaften" and the selection dialog against a
// real configuration database: the pages of each type, the restart controls,
// the event log rule, the filter trimming, refused limits, the notify
// profiles, the plug-in page's checks and the headings of the selection tree.
#include "AuditionSheetSupport.h"
#include "BoxAnswerer.h"
#include "CAuditionCfgPPActions.h"
#include "CAuditionCfgPPLogfile.h"
#include "CAuditionKindDialog.h"
#include "CAuditionPropertySheet.h"
#include "CAuditionRules.h"
#include "CReportList.h"
#include "PluginTestSupport.h"
#include "StringTable.h"

#include <QAbstractItemModelTester>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeView>
#include <QtTest>

Q_DECLARE_METATYPE(AuditionType)

class AuditionPropertySheetTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void PagesFollowTheType_data();
    void PagesFollowTheType();
    void RestartBoxes_data();
    void RestartBoxes();
    void EventLogWithBothFlagsShowsApplicationAndSavesOnlyIt();
    void FilterListsLoseTheirLeadingBlanks();
    void RefusedLimitKeepsTheSheetOpenWithTheFieldSelected_data();
    void RefusedLimitKeepsTheSheetOpenWithTheFieldSelected();
    void LeavingAPageWithARefusedValueBringsItBack();
    void CancelStoresNothing();
    void NotifyProfilesOfTheAuditionAreShownAndStored();
    void LogfileBrowseOffersTheFileDialog();
    void PluginPageAsksThePluginWhetherItIsConfigured();
    void PluginNoLongerInstalledGives1034();
    void SelectionTreeOffersAgentObjectsAndPlugins();
    void OkOnAHeadingGives1012AndKeepsTheDialogOpen();

private:
    std::unique_ptr<CAuditionSheetSupport> m_pSupport;
    std::unique_ptr<CAuditionPropertySheet> Open(int32_t auditionId);
    template <class Widget> static Widget* Field(QWidget& sheet, const char* name) {
        return sheet.findChild<Widget*>(QString::fromLatin1(name));
    }
};

void AuditionPropertySheetTest::init() {
    m_pSupport = std::make_unique<CAuditionSheetSupport>();
    QVERIFY(m_pSupport->IsReady());
}

void AuditionPropertySheetTest::cleanup() {
    m_pSupport.reset();
}

std::unique_ptr<CAuditionPropertySheet> AuditionPropertySheetTest::Open(int32_t auditionId) {
    auto sheet = std::make_unique<CAuditionPropertySheet>(m_pSupport->Context(), auditionId);
    sheet->show();
    return sheet;
}

void AuditionPropertySheetTest::PagesFollowTheType_data() {
    QTest::addColumn<AuditionType>("type");
    QTest::addColumn<QString>("page");
    QTest::newRow("App") << AuditionType::App << "Applikation";
    QTest::newRow("Service") << AuditionType::Service << "Service";
    QTest::newRow("Logfile") << AuditionType::Logfile << "Logdatei";
    QTest::newRow("NTEvtLog") << AuditionType::NTEvtLog << "NT-Eventlog";
    QTest::newRow("Net") << AuditionType::Net << "Netzwerk";
    QTest::newRow("Plugin") << AuditionType::Plugin << "Plug-In";
}

void AuditionPropertySheetTest::PagesFollowTheType() {
    QFETCH(AuditionType, type);
    QFETCH(QString, page);
    const DBAudition stored = m_pSupport->Store(type, "Druckdienst", false, [](DBAudition& a) {
        a.DESCRIPTION = "Drucker im Flur";
        a.Plugin.PLUGIN_TYPE = kTestPluginType;
        a.Plugin.PLUGIN_NAME = "Testplugin";
    });
    auto sheet = Open(stored.AUDITION_ID);
    QCOMPARE(sheet->windowTitle(), QStringLiteral("Überwachungseigenschaften"));
    QTabWidget& tabs = sheet->Tabs();
    QCOMPARE(tabs.count(), 3);
    QCOMPARE(tabs.tabText(0), QStringLiteral("Allgemein"));
    QCOMPARE(tabs.tabText(1), page);
    QCOMPARE(tabs.tabText(2), QStringLiteral("Aktionen"));
    QCOMPARE(Field<QLineEdit>(*sheet, "NAME")->text(), QStringLiteral("Druckdienst"));
    QCOMPARE(Field<QLineEdit>(*sheet, "ACTIVE_END")->text(), QStringLiteral("24"));
    QCOMPARE(Field<QLabel>(*sheet, "AUDITION_TYPE")->text(),
             QString::fromStdString(GetAuditionTypeName(type)));
}

void AuditionPropertySheetTest::RestartBoxes_data() {
    QTest::addColumn<AuditionType>("type");
    QTest::addColumn<bool>("app");
    QTest::addColumn<bool>("service");
    QTest::addColumn<bool>("system");
    QTest::newRow("Logfile") << AuditionType::Logfile << false << false << false;
    QTest::newRow("NTEvtLog") << AuditionType::NTEvtLog << false << false << true;
    QTest::newRow("App") << AuditionType::App << true << false << true;
    QTest::newRow("Service") << AuditionType::Service << false << true << true;
}

// Each type's enabling, then "System neu starten" checked where it can be.
void AuditionPropertySheetTest::RestartBoxes() {
    QFETCH(AuditionType, type);
    QFETCH(bool, app);
    QFETCH(bool, service);
    QFETCH(bool, system);
    const DBAudition stored = m_pSupport->Store(type, "Neustart", false, [&](DBAudition& a) {
        a.ACTION_RESTART_APP = app;
        a.ACTION_RESTART_SERVICE = service;
        a.RESTART_PARAMETERS = app || service ? "-x" : "";
    });
    auto sheet = Open(stored.AUDITION_ID);
    sheet->Tabs().setCurrentIndex(2);
    auto* restartApp = Field<QCheckBox>(*sheet, "ACTION_RESTART_APP");
    auto* restartService = Field<QCheckBox>(*sheet, "ACTION_RESTART_SERVICE");
    auto* restartSystem = Field<QCheckBox>(*sheet, "ACTION_RESTART_SYSTEM");
    auto* parameters = Field<QLineEdit>(*sheet, "RESTART_PARAMETERS");
    QCOMPARE(restartApp->isEnabled(), app);
    QCOMPARE(restartService->isEnabled(), service);
    QCOMPARE(restartSystem->isEnabled(), system);
    QCOMPARE(parameters->isEnabled(), app || service);
    if (!system)
        return;
    QTest::mouseClick(restartSystem, Qt::LeftButton);
    QVERIFY(restartSystem->isChecked());
    QVERIFY(!restartApp->isEnabled() && !restartApp->isChecked());
    QVERIFY(!restartService->isEnabled() && !restartService->isChecked());
    QVERIFY(parameters->text().isEmpty());
    sheet->accept();
    QCOMPARE(sheet->result(), int(QDialog::Accepted));
    const DBAudition saved = m_pSupport->Read(stored.AUDITION_ID);
    QVERIFY(saved.ACTION_RESTART_SYSTEM);
    QVERIFY(!saved.ACTION_RESTART_APP && !saved.ACTION_RESTART_SERVICE);
    QCOMPARE(saved.RESTART_PARAMETERS, std::string());
}

void AuditionPropertySheetTest::EventLogWithBothFlagsShowsApplicationAndSavesOnlyIt() {
    const DBAudition stored =
        m_pSupport->Store(AuditionType::NTEvtLog, "Ereignisse", false, [](DBAudition& a) {
            a.NTEvtLog.SERVER_PATH = "alpha";
            a.NTEvtLog.AUDIT_APPLOG = true;
            a.NTEvtLog.AUDIT_SYSTEMLOG = true;
        });
    auto sheet = Open(stored.AUDITION_ID);
    auto* logs = Field<QButtonGroup>(*sheet, "AUDIT_APPLOG");
    QCOMPARE(logs->checkedButton()->text(), QStringLiteral("Anwendung"));
    sheet->accept();
    QCOMPARE(sheet->result(), int(QDialog::Accepted));
    const DBAudition saved = m_pSupport->Read(stored.AUDITION_ID);
    QVERIFY(saved.NTEvtLog.AUDIT_APPLOG);
    QVERIFY(!saved.NTEvtLog.AUDIT_SYSTEMLOG);
}

void AuditionPropertySheetTest::FilterListsLoseTheirLeadingBlanks() {
    const DBAudition stored = m_pSupport->Store(AuditionType::NTEvtLog, "Filter", false);
    auto sheet = Open(stored.AUDITION_ID);
    auto* logs = Field<QButtonGroup>(*sheet, "AUDIT_APPLOG");
    QCOMPARE(logs->checkedButton()->text(), QStringLiteral("System"));
    Field<QButtonGroup>(*sheet, "FILTER_TYPE")->button(1)->click();
    Field<QLineEdit>(*sheet, "FILTER_SOURCE")->setText(QStringLiteral("  Disk;   Print ;Net"));
    Field<QLineEdit>(*sheet, "FILTER_ID")->setText(QStringLiteral(" 7; 11"));
    sheet->accept();
    const DBAudition saved = m_pSupport->Read(stored.AUDITION_ID);
    QCOMPARE(saved.NTEvtLog.FILTER_TYPE, 1);
    QCOMPARE(saved.NTEvtLog.FILTER_SOURCE, std::string("Disk;Print ;Net"));
    QCOMPARE(saved.NTEvtLog.FILTER_ID, std::string("7;11"));
    QVERIFY(saved.NTEvtLog.AUDIT_SYSTEMLOG && !saved.NTEvtLog.AUDIT_APPLOG);
}

void AuditionPropertySheetTest::RefusedLimitKeepsTheSheetOpenWithTheFieldSelected_data() {
    QTest::addColumn<AuditionType>("type");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("CHECK_INTERVAL 1441") << AuditionType::Logfile << "CHECK_INTERVAL"
                                         << "1441"
                                         << "Geben Sie eine ganze Zahl zwischen 1 und 1440 ein.";
    QTest::newRow("TIMEOUT 0") << AuditionType::Net << "TIMEOUT"
                               << "0"
                               << "Geben Sie eine ganze Zahl zwischen 1 und 30 ein.";
    QTest::newRow("TIMEOUT no number") << AuditionType::Net << "TIMEOUT"
                                       << "fünf"
                                       << "Geben Sie eine ganze Zahl ein.";
    QTest::newRow("NAME 256 characters") << AuditionType::Net << "NAME" << QString(256, u'ä')
                                         << "Geben Sie nicht mehr als 255 Zeichen ein.";
    QTest::newRow("MAX_DURATION 0") << AuditionType::App << "MAX_DURATION"
                                    << "0"
                                    << "Geben Sie eine ganze Zahl zwischen 1 und 1440 ein.";
    QTest::newRow("ACTIVE_END 25") << AuditionType::Service << "ACTIVE_END"
                                   << "25"
                                   << "Geben Sie eine ganze Zahl zwischen 0 und 24 ein.";
}

void AuditionPropertySheetTest::RefusedLimitKeepsTheSheetOpenWithTheFieldSelected() {
    QFETCH(AuditionType, type);
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(QString, message);
    const DBAudition stored = m_pSupport->Store(
        type, "Grenzen", false, [](DBAudition& a) { a.Logfile.CHECK_INTERVAL = 5; });
    auto sheet = Open(stored.AUDITION_ID);
    QLineEdit* field = Field<QLineEdit>(*sheet, column.toLatin1().constData());
    field->setText(value);
    CBoxAnswerer box(QMessageBox::Ok);
    sheet->accept();
    QVERIFY(box.Answered());
    QVERIFY(box.Text().contains(message));
    QCOMPARE(box.Caption(), QStringLiteral("TARN! Fehler aufgetreten"));
    QCOMPARE(box.Icon(), QMessageBox::Warning);
    QVERIFY(sheet->isVisible());
    QVERIFY(sheet->Tabs().currentWidget()->isAncestorOf(field));
    QCOMPARE(field->selectedText(), value);
    const auto* spec = FindField(CAuditionRules::Fields(type), column.toStdString());
    QVERIFY(spec->get(m_pSupport->Read(stored.AUDITION_ID)) == spec->get(stored));
}

void AuditionPropertySheetTest::LeavingAPageWithARefusedValueBringsItBack() {
    const DBAudition stored = m_pSupport->Store(AuditionType::Net, "Seite", false);
    auto sheet = Open(stored.AUDITION_ID);
    sheet->Tabs().setCurrentIndex(1);
    Field<QLineEdit>(*sheet, "CHECK_INTERVAL")->setText(QStringLiteral("0"));
    CBoxAnswerer box(QMessageBox::Ok);
    sheet->Tabs().setCurrentIndex(2);
    QVERIFY(box.Answered());
    QCOMPARE(sheet->Tabs().currentIndex(), 1);
}

void AuditionPropertySheetTest::CancelStoresNothing() {
    const DBAudition stored = m_pSupport->Store(AuditionType::Net, "Alt", false);
    auto sheet = Open(stored.AUDITION_ID);
    Field<QLineEdit>(*sheet, "NAME")->setText(QStringLiteral("Neu"));
    Field<QLineEdit>(*sheet, "IP_ADDRESS")->setText(QStringLiteral("127.0.0.9"));
    sheet->ActionsPage().Profiles().SetActive(0, true);
    sheet->reject();
    QCOMPARE(m_pSupport->Read(stored.AUDITION_ID).NAME, std::string("Alt"));
    QCOMPARE(m_pSupport->Read(stored.AUDITION_ID).Net.IP_ADDRESS, std::string());
}

void AuditionPropertySheetTest::NotifyProfilesOfTheAuditionAreShownAndStored() {
    CDBEngineTARN& database = m_pSupport->Database();
    DBKeyList keys;
    for (const char* name : {"Nacht", "Tag", "Wochenende"}) {
        DBNotifyProfile profile;
        profile.PROFILE_ID = DB_KEY_NEW;
        profile.NAME = name;
        QVERIFY(database.SetNotifyProfile(profile));
        keys.push_back(profile.PROFILE_ID);
    }
    const DBAudition stored = m_pSupport->Store(AuditionType::Net, "Profile", false);
    QVERIFY(database.SetAuditNotifyProfiles(stored.AUDITION_ID, {keys[1]}));
    auto sheet = Open(stored.AUDITION_ID);
    CNotifyProfileChoiceModel& profiles = sheet->ActionsPage().Profiles();
    QAbstractItemModelTester tester(&profiles,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(profiles.rowCount(), 3);
    QCOMPARE(profiles.index(1, CNotifyProfileChoiceModel::ColumnActive).data().toString(),
             QStringLiteral("Ja"));
    QCOMPARE(profiles.index(0, CNotifyProfileChoiceModel::ColumnActive).data().toString(),
             QStringLiteral("Nein"));
    // A click on the state image toggles it.
    QVERIFY(profiles.setData(profiles.index(2, CNotifyProfileChoiceModel::ColumnActive),
                             Qt::Checked, Qt::CheckStateRole));
    profiles.Toggle(1);
    sheet->accept();
    DBKeyList saved;
    QVERIFY(database.GetAuditNotifyProfiles(stored.AUDITION_ID, saved));
    QCOMPARE(saved, DBKeyList{keys[2]});
}

void AuditionPropertySheetTest::LogfileBrowseOffersTheFileDialog() {
    const DBAudition stored = m_pSupport->Store(
        AuditionType::Logfile, "Datei", false, [](DBAudition& a) { a.Logfile.CHECK_INTERVAL = 5; });
    const QString chosen = QString::fromStdString(m_pSupport->DataDirectory() + "TARN.CFG");
    auto sheet = Open(stored.AUDITION_ID);
    QString title, filter;
    CDialogDriver<QFileDialog> driver([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        filter = dialog.nameFilters().join(QStringLiteral(";;"));
        dialog.selectFile(chosen);
        QMetaObject::invokeMethod(&dialog, "done", Q_ARG(int, QDialog::Accepted));
    });
    sheet->findChild<CAuditionCfgPPLogfile*>()->Browse();
    QVERIFY(driver.Done());
    QCOMPARE(title, QStringLiteral("Dateiauswahl"));
    QCOMPARE(filter, QStringLiteral("Alle Dateien (*.*)"));
    QCOMPARE(Field<QLineEdit>(*sheet, "LOGFILE")->text(), chosen);
}

// The plug-in's own actions stand in for the three boxes; OK asks whether the
// audition is complete and stays open while the plug-in says no.
void AuditionPropertySheetTest::PluginPageAsksThePluginWhetherItIsConfigured() {
    const DBAudition stored =
        m_pSupport->Store(AuditionType::Plugin, "Prüfung", false, [](DBAudition& a) {
            a.Plugin.PLUGIN_TYPE = kTestPluginType;
            a.Plugin.PLUGIN_NAME = "Testplugin";
        });
    auto sheet = Open(stored.AUDITION_ID);
    QVERIFY(!Field<QCheckBox>(*sheet, "ACTION_RESTART_SYSTEM"));
    QCOMPARE(sheet->ActionsPage().PluginActions(),
             QStringList({"Service starten mod.exe Spooler -fast", "System neu starten"}));
    QCOMPARE(Field<QLineEdit>(*sheet, "PLUGIN_NAME")->text(), QStringLiteral("Testplugin"));
    Field<QLineEdit>(*sheet, "SERVER_PATH")->setText(QStringLiteral("alpha"));
    TakeTestCalls(m_pSupport->Plugin());
    SetTestConfigured(m_pSupport->Plugin(), 0);
    {
        CBoxAnswerer box(QMessageBox::Ok);
        sheet->accept();
        QVERIFY(box.Answered());
        QCOMPARE(box.Text(), QString::fromStdString(LoadTarnString(1036)));
        QCOMPARE(box.Icon(), QMessageBox::Warning);
    }
    QVERIFY(sheet->isVisible());
    QCOMPARE(m_pSupport->Read(stored.AUDITION_ID).Plugin.SERVER_PATH, std::string());
    SetTestConfigured(m_pSupport->Plugin(), -1);
    sheet->accept();
    QCOMPARE(sheet->result(), int(QDialog::Accepted));
    QCOMPARE(m_pSupport->Read(stored.AUDITION_ID).Plugin.SERVER_PATH, std::string("alpha"));
    const std::string calls = TakeTestCalls(m_pSupport->Plugin());
    QCOMPARE(calls, "Create(" + std::to_string(stored.AUDITION_ID) +
                        ",alpha);IsConfigured;Destroy(alpha);Create(" +
                        std::to_string(stored.AUDITION_ID) +
                        ",alpha);IsConfigured;Destroy(alpha);");
}

void AuditionPropertySheetTest::PluginNoLongerInstalledGives1034() {
    const DBAudition stored =
        m_pSupport->Store(AuditionType::Plugin, "Verwaist", false, [](DBAudition& a) {
            a.Plugin.PLUGIN_TYPE = 4711;
            a.Plugin.PLUGIN_NAME = "Entfernt";
        });
    auto sheet = Open(stored.AUDITION_ID);
    QVERIFY(sheet->ActionsPage().PluginActions().isEmpty());
    const QString text = QString::fromStdString(LoadTarnString(1034));
    {
        CBoxAnswerer box(QMessageBox::Ok);
        sheet->findChild<QPushButton*>(QStringLiteral("Configure"))->click();
        QVERIFY(box.Answered());
        QCOMPARE(box.Text(), text);
    }
    CBoxAnswerer box(QMessageBox::Ok);
    sheet->accept();
    QVERIFY(box.Answered());
    QCOMPARE(box.Text(), text);
    QVERIFY(sheet->isVisible());
}

void AuditionPropertySheetTest::SelectionTreeOffersAgentObjectsAndPlugins() {
    CAuditionKindDialog dialog(m_pSupport->Context());
    QStandardItemModel& model = dialog.Model();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QStringList kinds;
    for (int row = 0; row < model.rowCount(); ++row)
        kinds << model.item(row)->text();
    QCOMPARE(kinds, QStringList({"Applikation", "Service", "Logdatei (individuell)", "NT-Eventlog",
                                 "Netzwerk", "Plug-In"}));
    dialog.show();
    // Applikation > alpha > notepad.exe
    QStandardItem* app = model.item(0)->child(0)->child(0);
    QCOMPARE(app->text(), QStringLiteral("notepad.exe"));
    dialog.Tree().setCurrentIndex(app->index());
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Chosen().AUDITION_TYPE, int32_t(AuditionType::App));
    QCOMPARE(dialog.Chosen().AUDITION_ID, AUDITION_ID_NEW);
    QCOMPARE(dialog.Chosen().NAME, std::string("Applikation"));
    QCOMPARE(dialog.Chosen().App.SERVER_PATH, std::string("alpha"));
    QCOMPARE(dialog.Chosen().App.APP_MODULE, std::string("notepad.exe"));
    const DBAudition service = [&] {
        dialog.Tree().setCurrentIndex(model.item(1)->child(0)->child(0)->index());
        dialog.accept();
        return dialog.Chosen();
    }();
    QCOMPARE(service.Service.SERVICE_MODULE, std::string("spool.exe"));
    QCOMPARE(service.Service.SERVICE_NAME, std::string("Spooler"));
    QCOMPARE(service.Service.SERVICE_DISPLAYNAME, std::string("Druckwarteschlange"));
    // Plug-In > Testplugin > this computer, alpha
    QStandardItem* plugin = model.item(5)->child(0);
    QCOMPARE(plugin->text(), QStringLiteral("Testplugin"));
    QCOMPARE(plugin->rowCount(), 2);
    dialog.Tree().setCurrentIndex(plugin->child(1)->index());
    dialog.accept();
    QCOMPARE(dialog.Chosen().Plugin.PLUGIN_TYPE, kTestPluginType);
    QCOMPARE(dialog.Chosen().Plugin.PLUGIN_NAME, std::string("Testplugin"));
    QCOMPARE(dialog.Chosen().Plugin.SERVER_PATH, std::string("alpha"));
}

void AuditionPropertySheetTest::OkOnAHeadingGives1012AndKeepsTheDialogOpen() {
    CAuditionKindDialog dialog(m_pSupport->Context());
    dialog.show();
    for (QStandardItem* heading : {dialog.Model().item(0), dialog.Model().item(0)->child(0)}) {
        dialog.Tree().setCurrentIndex(heading->index());
        CBoxAnswerer box(QMessageBox::Ok);
        dialog.accept();
        QVERIFY(box.Answered());
        QCOMPARE(box.Text(), QStringLiteral("Sie haben keine gültige Überwachungsart gewählt"));
        QCOMPARE(box.Caption(), QStringLiteral("TARN! Fehler aufgetreten"));
        QCOMPARE(box.Icon(), QMessageBox::Critical);
        QVERIFY(dialog.isVisible());
    }
}

QTEST_MAIN(AuditionPropertySheetTest)
#include "AuditionPropertySheetTest.moc"
