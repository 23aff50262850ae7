// The main window as the desktop console builds it: a started application on
// a fresh installation (with the real gateway), the frame's commands, their
// check marks, the sheet commands, the help and home-page commands, and the
// conversion question of start-up answered in a message box.
#include "BoxAnswerer.h"
#include "CCommandSet.h"
#include "CDBSchema.h"
#include "CDesktopDBReporter.h"
#include "CMainFrame.h"
#include "DBFixtureBuilder.h"
#include "DBTestSupport.h"
#include "DBVersionCheck.h"
#include "RegistryFile.h"
#include "StringTable.h"
#include "VigilApp.h"

#include <QAction>
#include <QDesktopServices>
#include <QDialog>
#include <QtTest>

#include <cstdlib>
#include <filesystem>
#include <thread>

// Takes the addresses that the commands open instead of a browser.
class CUrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.append(url); }
};

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ViewCommandsAreCheckedByThePageShown();
    void ReactivationCommandTogglesTheFlagAndItsCheckMark();
    void HelpCommandOpensTheHelpFileOfStartUp();
    void HomePageCommandOpensTheConfiguredAddress();
    void SheetCommandsAndTreeItemsOpenTheirSheets_data();
    void SheetCommandsAndTreeItemsOpenTheirSheets();
    void ConversionQuestionIsAskedInABox_data();
    void ConversionQuestionIsAskedInABox();

private:
    void StartFrame();
    std::string Registry() const { return m_pDir->File("registry.ini"); }

    std::unique_ptr<CTempDir> m_pDir;
    std::unique_ptr<CDesktopDBReporter> m_pReporter;
    std::unique_ptr<CVigilApp> m_pApp;
    std::unique_ptr<CMainFrame> m_pFrame;
    CUrlRecorder m_urls;
};

void MainFrameTest::init() {
    m_pDir = std::make_unique<CTempDir>();
    const std::string home = m_pDir->Path() + "/";
    const std::string init =
        std::string(TARN_BIN_DIR) + "/tarn-admin init '" + home + "' >/dev/null";
    QCOMPARE(std::system(init.c_str()), 0);
    std::filesystem::create_directory(home + "run");
    std::filesystem::permissions(home + "run", std::filesystem::perms::owner_all);
    qputenv("TARN_HOME", QByteArray::fromStdString(home));
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(home + "run/"));
    m_urls.urls.clear();
    for (const char* scheme : {"file", "http"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &m_urls, "Open");
}

void MainFrameTest::cleanup() {
    for (const char* scheme : {"file", "http"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    if (m_pFrame) {
        m_pFrame->close();
        QTRY_VERIFY_WITH_TIMEOUT(m_pFrame->IsShutDown(), 30000);
    }
    m_pFrame.reset();
    if (m_pApp)
        m_pApp->ExitInstance();
    m_pApp.reset();
    m_pReporter.reset();
    m_pDir.reset();
}

// German (no catalogue), so that the texts are the built-in ones.
void MainFrameTest::StartFrame() {
    m_pReporter = std::make_unique<CDesktopDBReporter>();
    m_pApp = std::make_unique<CVigilApp>(*m_pReporter, *m_pReporter, nullptr);
    QVERIFY(m_pApp->InitInstance());
    ConsoleEngineOptions options;
    options.AuditPeriod = std::chrono::hours(1);
    options.NotificationPeriod = std::chrono::hours(1);
    m_pFrame = std::make_unique<CMainFrame>(*m_pApp, options);
    m_pFrame->show();
    m_pFrame->Start();
}

void MainFrameTest::ViewCommandsAreCheckedByThePageShown() {
    StartFrame();
    QAction* events = m_pFrame->Action(CMainFrame::ID_SHOW_EVENT_VIEW);
    QAction* problems = m_pFrame->Action(CMainFrame::ID_SHOW_PROBLEM_VIEW);
    QVERIFY(events && problems);
    QVERIFY(events->isCheckable() && problems->isCheckable());
    for (int command : {CMainFrame::ID_SHOW_PROBLEM_VIEW, CMainFrame::ID_SHOW_EVENT_VIEW,
                        CMainFrame::ID_SHOW_PROBLEM_VIEW}) {
        m_pFrame->RunCommand(command);
        QCOMPARE(problems->isChecked(), command == CMainFrame::ID_SHOW_PROBLEM_VIEW);
        QCOMPARE(events->isChecked(), command == CMainFrame::ID_SHOW_EVENT_VIEW);
    }
}

// The flag is written to the registry file when the console shuts down.
void MainFrameTest::ReactivationCommandTogglesTheFlagAndItsCheckMark() {
    StartFrame();
    QAction* reactivate = m_pFrame->Action(CMainFrame::ID_REACTIVATE);
    QVERIFY(reactivate && reactivate->isCheckable());
    const bool before = m_pFrame->Engine().GetReactivate();
    QCOMPARE(reactivate->isChecked(), before);
    reactivate->trigger();
    QCOMPARE(m_pFrame->Engine().GetReactivate(), !before);
    QCOMPARE(reactivate->isChecked(), !before);
    m_pFrame->close();
    QTRY_VERIFY_WITH_TIMEOUT(m_pFrame->IsShutDown(), 30000);
    QCOMPARE(CRegistryFile(Registry()).ReadString(kTarnRegistryKey, "ReactivateSurv"),
             std::string(before ? "0" : "1"));
}

void MainFrameTest::HelpCommandOpensTheHelpFileOfStartUp() {
    StartFrame();
    const QString helpFile = QString::fromStdString(m_pApp->Settings().HelpFile);
    QVERIFY2(helpFile.endsWith(QStringLiteral("TARN_C_HLP_07.html")), qPrintable(helpFile));
    QVERIFY(QFileInfo::exists(helpFile));
    m_pFrame->RunCommand(CCommandSet::ID_HELP);
    QCOMPARE(m_urls.urls, QList<QUrl>{QUrl::fromLocalFile(helpFile)});
}

// Without an address in the registry file the documentation folder opens.
void MainFrameTest::HomePageCommandOpensTheConfiguredAddress() {
    StartFrame();
    m_pFrame->RunCommand(CMainFrame::ID_HOME_PAGE);
    QCOMPARE(m_urls.urls.size(), 1);
    QVERIFY(m_urls.urls[0].isLocalFile());
    QVERIFY(QFileInfo(m_urls.urls[0].toLocalFile()).isDir());
    QVERIFY(QFileInfo::exists(m_urls.urls[0].toLocalFile() + QStringLiteral("/ARCHITECTURE.md")));

    CRegistryFile registry(Registry());
    QVERIFY(registry.CreateKey(CDesktopSettings::kKey));
    QVERIFY(registry.WriteString(CDesktopSettings::kKey, "HomePage", "http://127.0.0.1/tarn/"));
    m_pFrame->RunCommand(CMainFrame::ID_HOME_PAGE);
    QCOMPARE(m_urls.urls.size(), 2);
    QCOMPARE(m_urls.urls[1], QUrl(QStringLiteral("http://127.0.0.1/tarn/")));
}

void MainFrameTest::SheetCommandsAndTreeItemsOpenTheirSheets_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("treeCode");
    QTest::addColumn<unsigned>("caption");
    QTest::newRow("notify profiles") << int(CMainFrame::ID_NOTIFY_PROFILES) << 100 << 3002u;
    QTest::newRow("notification services") << int(CMainFrame::ID_NOTIFY_SERVICES) << 101 << 3000u;
    QTest::newRow("general settings") << int(CMainFrame::ID_GENERAL_SETTINGS) << 102 << 3001u;
    QTest::newRow("auditions") << int(CMainFrame::ID_AUDITIONS) << 103 << 3011u;
    QTest::newRow("plug-ins") << int(CMainFrame::ID_PLUGINS) << 104 << 7560u;
}

// The menu command and the double-clicked tree item open the same modal sheet;
// the test closes it with Cancel as soon as it shows.
void MainFrameTest::SheetCommandsAndTreeItemsOpenTheirSheets() {
    QFETCH(int, command);
    QFETCH(int, treeCode);
    QFETCH(unsigned, caption);
    StartFrame();
    const QString expected = QString::fromStdString(LoadTarnString(caption));
    for (bool fromTree : {false, true}) {
        QString shown;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* sheet = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                shown = sheet->windowTitle();
                sheet->reject();
            }
        });
        closer.start(20);
        if (fromTree)
            m_pFrame->OnTreeCommand(treeCode);
        else
            m_pFrame->RunCommand(command);
        QVERIFY2(shown.contains(expected), qPrintable(shown + " / " + expected));
    }
}

void MainFrameTest::ConversionQuestionIsAskedInABox_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("started");
    QTest::addColumn<int>("version");
    QTest::newRow("yes converts") << int(QMessageBox::Yes) << true
                                  << int(CDBSchema::kConfigVersion);
    QTest::newRow("no ends the start") << int(QMessageBox::No) << false << 8;
}

// The question comes from the start-up thread and is answered on this one,
// as in the desktop console; the conversion's progress window goes away.
void MainFrameTest::ConversionQuestionIsAskedInABox() {
    QFETCH(int, answer);
    QFETCH(bool, started);
    QFETCH(int, version);
    const std::string config = m_pDir->File("TARN.MDB");
    std::filesystem::remove(config);
    BuildConfigFile(config, 8);
    CDesktopDBReporter reporter;
    CDBEngineTARN engine(&reporter);
    bool configOpened = false, historyOpened = false;
    engine.Open(config, m_pDir->File("HISTORY.MDB"), configOpened, historyOpened);
    QVERIFY(configOpened && historyOpened);

    CBoxAnswerer box(static_cast<QMessageBox::StandardButton>(answer));
    std::atomic<int> result{-1};
    std::thread startup(
        [&] { result = CheckDatabaseVersions(engine, reporter, "velda TARN! 2.5"); });
    QTRY_VERIFY_WITH_TIMEOUT(result != -1, 60000);
    startup.join();
    QVERIFY(box.Answered());
    QCOMPARE(box.Caption(), QStringLiteral("velda TARN! 2.5"));
    QVERIFY2(box.Text().startsWith(QString::fromStdString(LoadTarnString(4006)).left(20)),
             qPrintable(box.Text()));
    QCOMPARE(result == 1, started);
    int32_t configVersion = 0, historyVersion = 0;
    engine.GetDBVersions(configVersion, historyVersion);
    QCOMPARE(configVersion, version);
    QTRY_VERIFY(!reporter.Progress() || !reporter.Progress()->isVisible());
    engine.Close();
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
