// The plug-in sheet over a running engine and a real configuration database:
// installing through the file dialog and the question, the refused installs,
// removing, and an installed plug-in that new auditions use at once.
#include "BoxAnswerer.h"
#include "CDesktopPluginUI.h"
#include "CPluginPropertySheet.h"
#include "CReportList.h"
#include "ConsoleEngine.h"
#include "DBTestSupport.h"
#include "FileDialogAnswerer.h"

#include <QAbstractItemModelTester>
#include <QPushButton>
#include <QtTest>

#include <filesystem>
#include <fstream>

namespace {

constexpr int32_t kCommandCheckType = 100;
constexpr int32_t kTestPluginType = 7001;
const QString kTitle = QStringLiteral("velda TARN! 2.5");
const QString kErrorCaption = QStringLiteral("TARN! Fehler aufgetreten");

QString CommandCheckFile() {
    return QStringLiteral(TARN_BIN_DIR "/CommandCheck.spi");
}

QString TestPlugin(const char* name) {
    return QStringLiteral(TARN_TEST_PLUGIN_DIR "/") + QLatin1String(name) + QStringLiteral(".spi");
}

class QuietView : public IConsoleView {
public:
    void AddEventViewLine(int, const std::string&, const std::string&,
                          const std::string&) override {}
};

} // namespace

class PluginSheetTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void InstallsAndRemovesTheCommandCheck();
    void DecliningTheQuestionOrTheFileDialogInstallsNothing();
    void RefusedInstallsNameTheirReason_data();
    void RefusedInstallsNameTheirReason();
    void NewAuditionsUseAnInstalledPluginAtOnce();
    void ColumnsShowAndSortThePlugins();
    void EnterClosesTheSheetWithoutInstalling();

private:
    std::unique_ptr<CTempDir> m_pDir;
    std::unique_ptr<CDBEngineTARN> m_pDatabase;
    CGlobalSettings m_settings;
    QuietView m_view;
    std::unique_ptr<CDesktopPluginUI> m_pPluginUI;
    std::unique_ptr<CConsoleEngine> m_pEngine;
    std::unique_ptr<CPluginPropertySheet> m_pSheet;
    std::unique_ptr<QAbstractItemModelTester> m_pTester;

    std::string PluginFolder() const { return m_pDir->File("Plugins/"); }
    // Installs through the sheet's button, choosing path and answering the
    // question with answer; the text of the one box shown.
    QString InstallThroughSheet(const QString& path, QMessageBox::StandardButton answer);
    QString RemoveThroughSheet(int32_t type, QMessageBox::StandardButton answer);
    DBPluginList StoredPlugins();
    std::vector<std::string> PluginFolderFiles() const;
    int32_t StorePluginAudition();
};

void PluginSheetTest::init() {
    m_pDir = std::make_unique<CTempDir>();
    const DBFiles files = CreateFreshFiles(*m_pDir);
    m_pDatabase = std::make_unique<CDBEngineTARN>();
    bool config = false, history = false;
    m_pDatabase->Open(files.Config, files.History, config, history);
    QVERIFY(config && history);
    m_settings.ProgramDirectory = std::string(TARN_BIN_DIR) + "/";
    m_settings.InstallationDirectory = m_pDir->Path() + "/";
    m_settings.RegistryFile = m_pDir->File("registry.ini");
    m_settings.SetDataDirectory(m_pDir->File("data"));
    std::filesystem::create_directories(m_pDir->File("data"));
    m_pPluginUI = std::make_unique<CDesktopPluginUI>(kTitle);
    ConsoleEngineOptions options;
    options.AuditPeriod = std::chrono::milliseconds(100);
    options.NotificationPeriod = std::chrono::hours(1);
    m_pEngine = std::make_unique<CConsoleEngine>(*m_pDatabase, m_settings, nullptr, m_view,
                                                 *m_pPluginUI, options);
    m_pEngine->InitializeFrame();
    m_pSheet = std::make_unique<CPluginPropertySheet>(m_pEngine->GetPluginManager(),
                                                      m_pEngine->GetPluginList(), kTitle);
    m_pTester = std::make_unique<QAbstractItemModelTester>(
        &m_pSheet->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    m_pSheet->show();
}

void PluginSheetTest::cleanup() {
    m_pTester.reset();
    m_pSheet.reset();
    if (m_pEngine)
        m_pEngine->ShutdownFrame();
    m_pEngine.reset();
    m_pDatabase.reset();
    m_pDir.reset();
}

QString PluginSheetTest::InstallThroughSheet(const QString& path,
                                             QMessageBox::StandardButton answer) {
    CFileDialogAnswerer file(path);
    CBoxAnswerer box(answer);
    m_pSheet->InstallButton().click();
    return box.Answered() ? box.Text() : QString();
}

QString PluginSheetTest::RemoveThroughSheet(int32_t type, QMessageBox::StandardButton answer) {
    m_pSheet->List().SelectSourceRow(m_pSheet->Model().RowOfType(type));
    CBoxAnswerer box(answer);
    m_pSheet->RemoveButton().click();
    return box.Answered() ? box.Text() : QString();
}

DBPluginList PluginSheetTest::StoredPlugins() {
    DBPluginList rows;
    m_pDatabase->GetAllPlugins(rows);
    return rows;
}

std::vector<std::string> PluginSheetTest::PluginFolderFiles() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(PluginFolder(), error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int32_t PluginSheetTest::StorePluginAudition() {
    DBAudition audition;
    audition.AUDITION_ID = AUDITION_ID_NEW;
    audition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::Plugin);
    audition.NAME = "Befehl";
    audition.ACTIVE = true;
    audition.Plugin.PLUGIN_TYPE = kCommandCheckType;
    audition.Plugin.PLUGIN_NAME = "Befehlsprüfung";
    [&] { QVERIFY(m_pDatabase->SetAudition(audition)); }();
    return audition.AUDITION_ID;
}

void PluginSheetTest::InstallsAndRemovesTheCommandCheck() {
    QVERIFY(!m_pSheet->RemoveButton().isEnabled());
    CFileDialogAnswerer file(CommandCheckFile());
    CBoxAnswerer question(QMessageBox::Yes);
    m_pSheet->InstallButton().click();
    QVERIFY(file.Answered());
    QCOMPARE(file.Title(), QStringLiteral("Dateiauswahl"));
    QCOMPARE(file.Filters(), QStringList({QStringLiteral("Plug-In Dateien (*.spi)")}));
    QCOMPARE(question.Text().section(QLatin1Char('\n'), 0, 3),
             QStringLiteral("Folgendes TARN! Plug-In wird installiert:\n\nBefehlsprüfung\n"
                            "Version: 2.5"));
    QVERIFY(question.Text().endsWith(QStringLiteral("\n\nInstallation durchführen?")));
    QCOMPARE(question.Caption(), kTitle);
    QCOMPARE(question.Icon(), QMessageBox::Question);

    QCOMPARE(m_pSheet->Model().rowCount(), 1);
    const PluginRow& row = m_pSheet->Model().Row(0);
    QCOMPARE(row.type, kCommandCheckType);
    QCOMPARE(row.name, QStringLiteral("Befehlsprüfung"));
    QCOMPARE(row.version, QStringLiteral("2.5"));
    QVERIFY(row.description.startsWith(QStringLiteral("Führt ein Prüfprogramm")));
    QCOMPARE(m_pSheet->List().CurrentSourceRow(), 0); // the new plug-in is selected
    QVERIFY(m_pSheet->RemoveButton().isEnabled());
    const DBPluginList stored = StoredPlugins();
    QCOMPARE(stored.size(), size_t(1));
    QCOMPARE(stored[0].PLUGIN_MODULE, PluginFolder() + "CommandCheck.spi");
    CPlugin listed;
    QVERIFY(m_pEngine->GetPluginList().Find(kCommandCheckType, listed));

    QCOMPARE(RemoveThroughSheet(kCommandCheckType, QMessageBox::No),
             QStringLiteral("Möchten Sie das Plug-In wirklich entfernen?"));
    QCOMPARE(m_pSheet->Model().rowCount(), 1);
    QCOMPARE(StoredPlugins().size(), size_t(1));

    QVERIFY(!RemoveThroughSheet(kCommandCheckType, QMessageBox::Yes).isEmpty());
    QCOMPARE(m_pSheet->Model().rowCount(), 0);
    QVERIFY(StoredPlugins().empty());
    QVERIFY(!m_pEngine->GetPluginList().Find(kCommandCheckType, listed));
    QVERIFY(!m_pSheet->RemoveButton().isEnabled());
    // The library stays on disk (and loaded until the console ends).
    QCOMPARE(PluginFolderFiles(), std::vector<std::string>({"CommandCheck.spi"}));
}

void PluginSheetTest::DecliningTheQuestionOrTheFileDialogInstallsNothing() {
    QVERIFY(InstallThroughSheet(CommandCheckFile(), QMessageBox::No).startsWith("Folgendes"));
    QCOMPARE(m_pSheet->Model().rowCount(), 0);
    QVERIFY(StoredPlugins().empty());
    QVERIFY(PluginFolderFiles().empty()); // the copy is gone again

    CFileDialogAnswerer cancel{QString()};
    m_pSheet->InstallButton().click();
    QVERIFY(cancel.Answered());
    QCOMPARE(m_pSheet->Model().rowCount(), 0);
    QVERIFY(StoredPlugins().empty());
}

void PluginSheetTest::RefusedInstallsNameTheirReason_data() {
    QTest::addColumn<QString>("installed"); // installed first, may be empty
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    const QString notPlugin =
        QStringLiteral("Die gewählte Datei ist keine TARN! Plugin Komponente");
    const QString incompatible =
        QStringLiteral("Das gewählte Plug-In ist nicht kompatibel mit dieser Version");
    const QString already = QStringLiteral("Das gewählte Plug-In ist schon installiert.\nBitte "
                                           "entfernen Sie erst die vorhandene Version und "
                                           "versuchen Sie es dann erneut");
    QTest::newRow("text file named .spi") << QString() << QStringLiteral("text") << notPlugin;
    QTest::newRow("without DestroyInstance") << QString() << TestPlugin("nodestroy") << notPlugin;
    QTest::newRow("version 2.10 below 2.5") << QString() << TestPlugin("v2_10") << incompatible;
    QTest::newRow("type already installed")
        << TestPlugin("good") << TestPlugin("sametype") << already;
    QTest::newRow("same file again") << CommandCheckFile() << CommandCheckFile() << already;
}

void PluginSheetTest::RefusedInstallsNameTheirReason() {
    QFETCH(QString, installed);
    QFETCH(QString, file);
    QFETCH(QString, message);
    if (!installed.isEmpty())
        QVERIFY(InstallThroughSheet(installed, QMessageBox::Yes).startsWith("Folgendes"));
    if (file == QStringLiteral("text")) {
        file = QString::fromStdString(m_pDir->File("notes.spi"));
        std::ofstream(file.toStdString()) << "nur Text\n";
    }
    const int rows = m_pSheet->Model().rowCount();
    const std::vector<std::string> before = PluginFolderFiles();

    CFileDialogAnswerer chooser(file);
    CBoxAnswerer error(QMessageBox::Ok);
    m_pSheet->InstallButton().click();
    QVERIFY(error.Answered());
    QCOMPARE(error.Text(), message);
    QCOMPARE(error.Caption(), kErrorCaption);
    QCOMPARE(error.Icon(), QMessageBox::Critical);
    QCOMPARE(m_pSheet->Model().rowCount(), rows);
    QCOMPARE(StoredPlugins().size(), size_t(rows));
    QCOMPARE(PluginFolderFiles(), before);
    if (!installed.isEmpty()) // the installed plug-in is untouched
        QCOMPARE(m_pSheet->Model().Row(0).name, installed == CommandCheckFile()
                                                    ? QStringLiteral("Befehlsprüfung")
                                                    : QStringLiteral("Testplugin"));
}

void PluginSheetTest::NewAuditionsUseAnInstalledPluginAtOnce() {
    QVERIFY(InstallThroughSheet(CommandCheckFile(), QMessageBox::Yes).startsWith("Folgendes"));
    const std::string marker = m_pDir->File("ran");
    const int32_t id = StorePluginAudition();
    std::ofstream(PluginFolder() + "CommandCheck.ini")
        << "[Audition " << id << "]\nCommand=echo \"$TARN_AUDITION_ID\" > '" << marker << "'\n";
    m_pEngine->SynchronizeAuditionList();
    {
        CAuditionList& list = m_pEngine->GetAuditionList();
        CAuditionListLock lock(list);
        QCOMPARE(list.GetSize(), 1);
        QVERIFY(list.GetAt(0).Running);
        QVERIFY(list.GetAt(0).PluginInstance != nullptr);
    }
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(marker), 10000);

    // While the audition exists the plug-in stays.
    QCOMPARE(RemoveThroughSheet(kCommandCheckType, QMessageBox::Ok),
             QStringLiteral("Das Plug-In kann nicht entfernt werden! Es existieren Überwachungen "
                            "diese Typs.\n\nBitte entfernen Sie zunächst diese Überwachungen und "
                            "versuchen Sie es dann erneut."));
    QCOMPARE(m_pSheet->Model().rowCount(), 1);
    QCOMPARE(StoredPlugins().size(), size_t(1));
}

void PluginSheetTest::ColumnsShowAndSortThePlugins() {
    QVERIFY(InstallThroughSheet(TestPlugin("good"), QMessageBox::Yes).startsWith("Folgendes"));
    QVERIFY(InstallThroughSheet(CommandCheckFile(), QMessageBox::Yes).startsWith("Folgendes"));
    CReportList& list = m_pSheet->List();
    const QStringList headers = {"Typ", "Name", "Version", "Beschreibung"};
    for (int column = 0; column < headers.size(); ++column)
        QCOMPARE(list.model()->headerData(column, Qt::Horizontal).toString(), headers[column]);
    QCOMPARE(list.model()->index(0, CPluginListModel::ColumnType).data().toString(),
             QString::number(kTestPluginType)); // in the order of installation
    list.sortByColumn(CPluginListModel::ColumnType, Qt::AscendingOrder);
    QCOMPARE(list.model()->index(0, CPluginListModel::ColumnType).data().toString(),
             QString::number(kCommandCheckType));
    list.sortByColumn(CPluginListModel::ColumnName, Qt::DescendingOrder);
    QCOMPARE(list.model()->index(0, CPluginListModel::ColumnName).data().toString(),
             QStringLiteral("Testplugin"));
}

void PluginSheetTest::EnterClosesTheSheetWithoutInstalling() {
    // A file dialog that Enter opened by mistake is closed again, so that the
    // test fails instead of waiting.
    bool fileDialogOpened = false;
    QTimer guard;
    guard.setInterval(50);
    connect(&guard, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            fileDialogOpened = true;
            dialog->reject();
        }
    });
    guard.start();
    m_pSheet->InstallButton().setFocus();
    QTest::keyClick(m_pSheet.get(), Qt::Key_Return);
    QVERIFY(!fileDialogOpened);
    QVERIFY(!m_pSheet->isVisible());
    QCOMPARE(m_pSheet->result(), int(QDialog::Rejected));
}

QTEST_MAIN(PluginSheetTest)
#include "PluginSheetTest.moc"
