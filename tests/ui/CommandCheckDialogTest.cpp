// The command-check plug-in's configuration dialog, opened through the
// plug-in's slot 0 in a desktop application: the settings stored in
// CommandCheck.ini and read back, and the test run of the command as entered.
#include "CPlugin.h"
#include "DBTestSupport.h"
#include "IniFile.h"

#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

constexpr int32_t kAuditionID = 17;

// Runs the steps on the next configuration dialog once it is shown, then
// closes it with Cancel if the steps left it open (a failed step).
class CDialogDriver {
public:
    explicit CDialogDriver(std::function<void(QDialog&)> steps) : m_steps(std::move(steps)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }
    bool Ran() const { return m_bRan; }

private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != QStringLiteral("CommandCheckDialog"))
            return;
        m_timer.stop();
        m_bRan = true;
        m_steps(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    }

    std::function<void(QDialog&)> m_steps;
    QTimer m_timer;
    bool m_bRan = false;
};

template <class Widget> Widget& Child(QDialog& dialog, const char* name) {
    Widget* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("the dialog has no %s", name);
    return *widget;
}

QString Shown(QDialog& dialog, const char* label) {
    return Child<QLabel>(dialog, label).text();
}

} // namespace

class CommandCheckDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void StoresTheSettingsAndShowsThemAgain();
    void CancelLeavesTheFileAsItWas();
    void TestShowsFirstLineAndExitStatus_data();
    void TestShowsFirstLineAndExitStatus();
    void TestRunsWhileTheWindowKeepsWorking();
    void ClosingDuringATestEndsTheCommand();

private:
    std::unique_ptr<CTempDir> m_pDir;
    std::string m_strPlugins;
    CPlugin m_plugin;
    IPluginInstance* m_pInstance = nullptr;

    std::string IniFile() const { return m_strPlugins + "CommandCheck.ini"; }
    // Opens the dialog through slot 0 and runs the steps in it.
    void Configure(std::function<void(QDialog&)> steps);
    QString Stored(const char* key, const char* section = "Audition 17") const {
        return QString::fromStdString(CIniFile::Load(IniFile()).GetString(section, key));
    }
};

// The plug-in is installed as a copy in a plug-in folder; its dialog module
// lies beside it, where the plug-in looks after the program directory.
void CommandCheckDialogTest::initTestCase() {
    m_pDir = std::make_unique<CTempDir>();
    m_strPlugins = m_pDir->File("Plugins/");
    std::filesystem::create_directories(m_strPlugins);
    for (const char* file : {"CommandCheck.spi", "libCommandCheckDialog.so"})
        std::filesystem::copy_file(std::string(TARN_BIN_DIR) + "/" + file, m_strPlugins + file);
    QCOMPARE(m_plugin.Load(m_strPlugins + "CommandCheck.spi", kTarnVersionText), CPlugin::LoadOk);
}

void CommandCheckDialogTest::init() {
    std::filesystem::remove(IniFile());
    QCOMPARE(m_plugin.CreateInstance(kAuditionID, "alpha", nullptr, &m_pInstance), 0);
}

void CommandCheckDialogTest::cleanup() {
    m_plugin.DestroyInstance(m_pInstance);
    m_pInstance = nullptr;
}

void CommandCheckDialogTest::cleanupTestCase() {
    m_plugin.Unload();
    m_pDir.reset();
}

void CommandCheckDialogTest::Configure(std::function<void(QDialog&)> steps) {
    CDialogDriver driver(std::move(steps));
    m_pInstance->Configure();
    QVERIFY(driver.Ran());
}

void CommandCheckDialogTest::StoresTheSettingsAndShowsThemAgain() {
    std::ofstream(IniFile()) << "[Audition 5]\nCommand=/bin/true\n";
    QCOMPARE(m_pInstance->IsConfigured(), 0);
    Configure([](QDialog& dialog) {
        QCOMPARE(Child<QLineEdit>(dialog, "command").text(), QString());
        QCOMPARE(Child<QSpinBox>(dialog, "timeout").value(), 10);
        QVERIFY(!Child<QCheckBox>(dialog, "warning").isChecked());
        Child<QLineEdit>(dialog, "command").setText("/usr/lib/nagios/plugins/check_disk -w 10%");
        Child<QSpinBox>(dialog, "timeout").setValue(45);
        Child<QCheckBox>(dialog, "warning").setChecked(true);
        Child<QPushButton>(dialog, "ok").click();
    });
    QCOMPARE(Stored("Command"), QStringLiteral("/usr/lib/nagios/plugins/check_disk -w 10%"));
    QCOMPARE(Stored("Timeout"), QStringLiteral("45"));
    QCOMPARE(Stored("WarningIsError"), QStringLiteral("1"));
    QCOMPARE(Stored("UnknownIsError"), QStringLiteral("0"));
    QCOMPARE(Stored("Command", "Audition 5"), QStringLiteral("/bin/true")); // other sections stay
    QCOMPARE(m_pInstance->IsConfigured(), 1);

    Configure([](QDialog& dialog) {
        QCOMPARE(Child<QLineEdit>(dialog, "command").text(),
                 QStringLiteral("/usr/lib/nagios/plugins/check_disk -w 10%"));
        QCOMPARE(Child<QSpinBox>(dialog, "timeout").value(), 45);
        QVERIFY(Child<QCheckBox>(dialog, "warning").isChecked());
        QVERIFY(!Child<QCheckBox>(dialog, "unknown").isChecked());
        Child<QCheckBox>(dialog, "unknown").setChecked(true);
        Child<QPushButton>(dialog, "ok").click();
    });
    QCOMPARE(Stored("UnknownIsError"), QStringLiteral("1"));
}

void CommandCheckDialogTest::CancelLeavesTheFileAsItWas() {
    const std::string before = "[Audition 17]\nCommand=echo alt\nTimeout=5\n";
    std::ofstream(IniFile()) << before;
    Configure([](QDialog& dialog) {
        QCOMPARE(Child<QLineEdit>(dialog, "command").text(), QStringLiteral("echo alt"));
        QCOMPARE(Child<QSpinBox>(dialog, "timeout").value(), 5);
        Child<QLineEdit>(dialog, "command").setText("echo neu");
        Child<QPushButton>(dialog, "cancel").click();
    });
    std::ifstream file(IniFile());
    const std::string after((std::istreambuf_iterator<char>(file)), {});
    QCOMPARE(after, before);
}

void CommandCheckDialogTest::TestShowsFirstLineAndExitStatus_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("warningIsError");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("error");
    QTest::newRow("succeeds") << "printf 'alles gut\\nzweite Zeile\\n'" << false << "alles gut"
                              << "0 (OK)" << false;
    QTest::newRow("fails") << "echo \"$TARN_AUDITION_ID auf $TARN_COMPUTER weg\"; exit 2" << false
                           << "17 auf alpha weg"
                           << "2 (CRITICAL)" << true;
    QTest::newRow("warning, not an error") << "echo voll; exit 1" << false << "voll"
                                           << "1 (WARNING)" << false;
    QTest::newRow("warning as an error") << "echo voll; exit 1" << true << "voll"
                                         << "1 (WARNING)" << true;
    QTest::newRow("only standard error") << "echo kaputt >&2; exit 7" << false << "kaputt"
                                         << "7 (unerwartet)" << true;
    QTest::newRow("cannot run") << "/no/such/check" << false << ""
                                << "127 (unerwartet)" << true;
}

void CommandCheckDialogTest::TestShowsFirstLineAndExitStatus() {
    QFETCH(QString, command);
    QFETCH(bool, warningIsError);
    QFETCH(QString, line);
    QFETCH(QString, status);
    QFETCH(bool, error);
    Configure([&](QDialog& dialog) {
        Child<QLineEdit>(dialog, "command").setText(command);
        Child<QCheckBox>(dialog, "warning").setChecked(warningIsError);
        Child<QPushButton>(dialog, "test").click();
        QTRY_VERIFY_WITH_TIMEOUT(Child<QPushButton>(dialog, "test").isEnabled(), 10000);
        if (line.isEmpty()) // the shell's complaint, in its own words
            QVERIFY(Shown(dialog, "output").contains(QStringLiteral("/no/such/check")));
        else
            QCOMPARE(Shown(dialog, "output"), line);
        QCOMPARE(Shown(dialog, "status"), status);
        QCOMPARE(Shown(dialog, "verdict").startsWith(QStringLiteral("Fehler")), error);
        Child<QPushButton>(dialog, "cancel").click();
    });
    QVERIFY(!std::filesystem::exists(IniFile())); // a test stores nothing
}

void CommandCheckDialogTest::TestRunsWhileTheWindowKeepsWorking() {
    Configure([](QDialog& dialog) {
        Child<QLineEdit>(dialog, "command").setText("sleep 1; echo spät; exit 2");
        QElapsedTimer clock;
        clock.start();
        Child<QPushButton>(dialog, "test").click();
        QVERIFY2(clock.elapsed() < 500, "the click waited for the command");
        QVERIFY(!Child<QPushButton>(dialog, "test").isEnabled());
        QVERIFY(Shown(dialog, "status").startsWith(QString::fromUtf8("Der Befehl läuft")));
        // The window goes on working meanwhile: typing reaches the field.
        QTest::keyClicks(&Child<QLineEdit>(dialog, "command"), " # x");
        QVERIFY(Child<QLineEdit>(dialog, "command").text().endsWith(" # x"));
        QTRY_COMPARE_WITH_TIMEOUT(Shown(dialog, "output"), QString::fromUtf8("spät"), 10000);
        QCOMPARE(Shown(dialog, "status"), QStringLiteral("2 (CRITICAL)"));
        Child<QPushButton>(dialog, "cancel").click();
    });
}

void CommandCheckDialogTest::ClosingDuringATestEndsTheCommand() {
    const std::string pidFile = m_pDir->File("pid");
    std::filesystem::remove(pidFile);
    QElapsedTimer clock;
    clock.start();
    Configure([&](QDialog& dialog) {
        Child<QLineEdit>(dialog, "command")
            .setText(QString::fromStdString("echo $$ > '" + pidFile + "'; sleep 600"));
        Child<QSpinBox>(dialog, "timeout").setValue(3600);
        Child<QPushButton>(dialog, "test").click();
        std::error_code error;
        QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::file_size(pidFile, error) > 2 && !error, 10000);
        Child<QPushButton>(dialog, "cancel").click();
    });
    QVERIFY2(clock.elapsed() < 10000, "closing waited for the command's time-out");
    pid_t shell = 0;
    std::ifstream(pidFile) >> shell;
    QVERIFY(shell > 0);
    QCOMPARE(::kill(shell, 0), -1); // killed and reaped
}

QTEST_MAIN(CommandCheckDialogTest)
#include "CommandCheckDialogTest.moc"
