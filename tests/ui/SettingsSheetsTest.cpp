// The notification service sheet and the general settings sheet against a
// real configuration database: what OK stores, what the rules derive, the
// refused values that keep the page open, Cancel, and the running console
// taking over a new data directory.
#include "BoxAnswerer.h"
#include "CGeneralCfgPPGeneral.h"
#include "CGeneralCfgPropertySheet.h"
#include "CHeadlessPluginUI.h"
#include "CNotifySrvCfgPropertySheet.h"
#include "ConsoleEngine.h"
#include "DBTestSupport.h"
#include "StringTable.h"
#include "UiText.h"

#include "../WaitFor.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <mutex>

namespace fs = std::filesystem;

namespace {

const QString kRangeOneToThree = QStringLiteral("Geben Sie eine ganze Zahl zwischen 1 und 3 ein.");
const QString kDirectoryMissing =
    QStringLiteral("Das Verzeichnis existiert nicht. Bitte wählen Sie ein gültiges Verzeichnis.");

class CLineView : public IConsoleView {
public:
    void AddEventViewLine(int, const std::string&, const std::string& audition,
                          const std::string& text) override {
        std::lock_guard guard(m_lock);
        m_lines.push_back(audition + ": " + text);
    }
    bool Has(const std::string& line) const {
        std::lock_guard guard(m_lock);
        return std::find(m_lines.begin(), m_lines.end(), line) != m_lines.end();
    }

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_lines;
};

void Press(QDialog& sheet, QDialogButtonBox::StandardButton which) {
    sheet.findChild<QDialogButtonBox*>()->button(which)->click();
}

// Types the text over the field's value letter by letter, as the keyboard
// would (keyClicks knows ASCII only).
void TypeInto(QLineEdit& edit, const QString& text) {
    edit.setFocus();
    edit.selectAll();
    for (const QChar letter : text)
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(letter), Qt::NoModifier);
}

template <class Widget> Widget* Field(QDialog& sheet, const char* name) {
    auto* widget = sheet.findChild<Widget*>(QString::fromUtf8(name));
    if (!widget)
        qFatal("no field %s", name);
    return widget;
}

void WriteFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << text;
}

} // namespace

class SettingsSheetsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ModemTextLosesALeadingAt_data();
    void ModemTextLosesALeadingAt();
    void TheFirstPortStoresComPort1();
    void APortOfTheModemConfigurationIsOffered();
    void ANumberOutsideItsRangeKeepsThePage_data();
    void ANumberOutsideItsRangeKeepsThePage();
    void TextsAreCutAtTheirLimit();
    void EveryFieldIsStoredOnOk();
    void CancelStoresNothing();
    void ADataDirectoryGetsItsSeparatorAndTheRunningConsoleUsesItsTarnCfg();
    void AMissingDirectoryGives1018_data();
    void AMissingDirectoryGives1018();
    void ADirectoryThatIsAFilePasses();
    void CancelLeavesTheSettingsAlone();
    void AFailedStoreStillChangesTheRunningSettings();

private:
    DBNotifySrvConfig StoredServices() {
        DBNotifySrvConfig services;
        if (!m_pDB->GetNotifyServicesConfig(services))
            qFatal("the service settings cannot be read");
        return services;
    }
    DBConfiguration StoredSettings() {
        DBConfiguration settings;
        if (!m_pDB->GetConfiguration(settings))
            qFatal("the general settings cannot be read");
        return settings;
    }
    std::unique_ptr<CNotifySrvCfgPropertySheet> ServiceSheet() {
        auto sheet = std::make_unique<CNotifySrvCfgPropertySheet>(*m_pDB, m_registry);
        sheet->show();
        return sheet;
    }
    std::string Dir(const std::string& name) const { return m_pDir->File(name); }

    std::unique_ptr<CTempDir> m_pDir;
    CRecordingReporter m_reporter;
    std::unique_ptr<CDBEngineTARN> m_pDB;
    std::string m_registry;
    CGlobalSettings m_settings;
};

void SettingsSheetsTest::init() {
    m_pDir = std::make_unique<CTempDir>();
    const DBFiles files = CreateFreshFiles(*m_pDir);
    m_reporter.Clear();
    m_pDB = std::make_unique<CDBEngineTARN>(&m_reporter);
    bool config = false, history = false;
    m_pDB->Open(files.Config, files.History, config, history);
    QVERIFY(config && history);
    m_registry = Dir("registry.ini");
    WriteFile(m_registry, "[SOFTWARE\\velda\\TARN!]\nDebugLevel=0\n");
    const DBConfiguration stored = StoredSettings();
    m_settings.InstallationDirectory = m_pDir->Path() + "/";
    m_settings.RegistryFile = m_registry;
    m_settings.SetDataDirectory(stored.DATA_DIRECTORY);
    m_settings.SetProtocolFile(stored.PROTOCOLFILE);
}

void SettingsSheetsTest::cleanup() {
    m_pDB.reset();
    m_pDir.reset();
}

void SettingsSheetsTest::ModemTextLosesALeadingAt_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("lower case") << "at&f"
                                << "&f";
    QTest::newRow("mixed case") << "aTZ"
                                << "Z";
    QTest::newRow("only the prefix") << "AT"
                                     << "";
    QTest::newRow("one character") << "A"
                                   << "A";
    QTest::newRow("at later on") << "X AT"
                                 << "X AT";
}

void SettingsSheetsTest::ModemTextLosesALeadingAt() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    auto sheet = ServiceSheet();
    Field<QLineEdit>(*sheet, "FAX_MODEM_INIT_STRING")->setText(typed);
    Press(*sheet, QDialogButtonBox::Ok);
    QCOMPARE(sheet->result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(StoredServices().FAX_MODEM_INIT_STRING), stored);
}

void SettingsSheetsTest::TheFirstPortStoresComPort1() {
    DBNotifySrvConfig services = StoredServices();
    services.FAX_COM_PORT = 3;
    QVERIFY(m_pDB->SetNotifyServicesConfig(services));
    auto sheet = ServiceSheet();
    auto* ports = Field<QComboBox>(*sheet, "FAX_COM_PORT");
    QCOMPARE(ports->currentIndex(), 2);
    for (int index = 0; index < ports->count(); ++index)
        QVERIFY2(ports->itemText(index).startsWith(QStringLiteral("COM%1 (").arg(index + 1)),
                 qPrintable(ports->itemText(index)));
    ports->setCurrentIndex(0);
    Press(*sheet, QDialogButtonBox::Ok);
    QCOMPARE(StoredServices().FAX_COM_PORT, 1);
}

void SettingsSheetsTest::APortOfTheModemConfigurationIsOffered() {
    WriteFile(m_registry, "[SOFTWARE\\velda\\TARN!\\Modems]\nCOM40=" + Dir("modem") + "\n");
    auto sheet = ServiceSheet();
    auto* ports = Field<QComboBox>(*sheet, "FAX_COM_PORT");
    QVERIFY(ports->count() >= 40);
    QCOMPARE(ports->itemText(39), QString::fromStdString("COM40 (" + Dir("modem") + ")"));
    ports->setCurrentIndex(39);
    Press(*sheet, QDialogButtonBox::Ok);
    QCOMPARE(StoredServices().FAX_COM_PORT, 40);
}

void SettingsSheetsTest::ANumberOutsideItsRangeKeepsThePage_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("value");
    QTest::newRow("SMS retries 4") << "SMS_RETRIES" << 0 << 4;
    QTest::newRow("SMS retries 0") << "SMS_RETRIES" << 0 << 0;
    QTest::newRow("fax retries 4") << "FAX_RETRIES" << 2 << 4;
}

void SettingsSheetsTest::ANumberOutsideItsRangeKeepsThePage() {
    QFETCH(QString, column);
    QFETCH(int, page);
    QFETCH(int, value);
    const DBNotifySrvConfig before = StoredServices();
    auto sheet = ServiceSheet();
    sheet->Pages()->setCurrentIndex(page);
    Field<QSpinBox>(*sheet, column.toUtf8().constData())->setValue(value);
    {
        CBoxAnswerer answer(QMessageBox::Ok);
        sheet->Pages()->setCurrentIndex(page == 0 ? 1 : 0);
        QTRY_VERIFY(answer.Answered());
        QCOMPARE(answer.Text(), kRangeOneToThree);
        QCOMPARE(sheet->Pages()->currentIndex(), page);
    }
    {
        CBoxAnswerer answer(QMessageBox::Ok);
        Press(*sheet, QDialogButtonBox::Ok);
        QTRY_VERIFY(answer.Answered());
        QCOMPARE(answer.Text(), kRangeOneToThree);
    }
    QVERIFY(sheet->isVisible());
    QCOMPARE(StoredServices().SMS_RETRIES, before.SMS_RETRIES);
    QCOMPARE(StoredServices().FAX_RETRIES, before.FAX_RETRIES);
}

// What the operator types stops at the limit, counted in characters ("ä"
// takes two bytes).
void SettingsSheetsTest::TextsAreCutAtTheirLimit() {
    auto sheet = ServiceSheet();
    TypeInto(*Field<QLineEdit>(*sheet, "SMS_DIAL_PREFIX"), QString(60, QLatin1Char('9')));
    TypeInto(*Field<QLineEdit>(*sheet, "SMS_GATEWAY_D1"), QString(120, QLatin1Char('1')));
    sheet->Pages()->setCurrentIndex(4);
    TypeInto(*Field<QLineEdit>(*sheet, "SMTP_SENDER"), QString(300, QChar(0xE4)));
    Press(*sheet, QDialogButtonBox::Ok);
    const DBNotifySrvConfig stored = StoredServices();
    QCOMPARE(stored.SMS_DIAL_PREFIX, std::string(50, '9'));
    QCOMPARE(stored.SMS_GATEWAY_D1, std::string(100, '1'));
    QCOMPARE(QString::fromStdString(stored.SMTP_SENDER), QString(255, QChar(0xE4)));
}

void SettingsSheetsTest::EveryFieldIsStoredOnOk() {
    auto sheet = ServiceSheet();
    const std::pair<const char*, const char*> texts[] = {
        {"SMS_DIAL_PREFIX", "0"},
        {"SMS_GATEWAY_D1", "01712521002"},
        {"SMS_GATEWAY_D2", "01722278010"},
        {"SMS_GATEWAY_EPLUS", "01771167"},
        {"SMS_GATEWAY_QUIX", "01660"},
        {"SMS_GATEWAY_NATEL_D", "0794999"},
        {"MSMAIL_LOGON_PROFILE", "Monitor"},
        {"MSMAIL_LOGON_PROFILE_PASSWORD", "geheim"},
        {"FAX_DIAL_PREFIX", "9"},
        {"SMTP_MAILSERVER", "mail.example.org"},
        {"SMTP_SENDER", "tarn@example.org"}};
    for (const auto& [column, text] : texts)
        Field<QLineEdit>(*sheet, column)->setText(QString::fromUtf8(text));
    Field<QSpinBox>(*sheet, "SMS_RETRIES")->setValue(2);
    Field<QSpinBox>(*sheet, "FAX_RETRIES")->setValue(3);
    Field<QRadioButton>(*sheet, "FAX_DIAL_TYPE_PULSE")->setChecked(true);
    Press(*sheet, QDialogButtonBox::Ok);
    const DBNotifySrvConfig s = StoredServices();
    const std::string stored[] = {s.SMS_DIAL_PREFIX,      s.SMS_GATEWAY_D1,
                                  s.SMS_GATEWAY_D2,       s.SMS_GATEWAY_EPLUS,
                                  s.SMS_GATEWAY_QUIX,     s.SMS_GATEWAY_NATEL_D,
                                  s.MSMAIL_LOGON_PROFILE, s.MSMAIL_LOGON_PROFILE_PASSWORD,
                                  s.FAX_DIAL_PREFIX,      s.SMTP_MAILSERVER,
                                  s.SMTP_SENDER};
    for (size_t i = 0; i < std::size(texts); ++i)
        QCOMPARE(stored[i], std::string(texts[i].second));
    QCOMPARE(s.SMS_RETRIES, 2);
    QCOMPARE(s.FAX_RETRIES, 3);
    QCOMPARE(s.FAX_DIAL_TYPE, int16_t{0});
}

void SettingsSheetsTest::CancelStoresNothing() {
    const DBNotifySrvConfig before = StoredServices();
    auto sheet = ServiceSheet();
    Field<QLineEdit>(*sheet, "FAX_MODEM_INIT_STRING")->setText(QStringLiteral("at&f1"));
    Field<QLineEdit>(*sheet, "SMTP_MAILSERVER")->setText(QStringLiteral("anders.example.org"));
    Field<QSpinBox>(*sheet, "SMS_RETRIES")->setValue(before.SMS_RETRIES == 1 ? 2 : 1);
    Field<QComboBox>(*sheet, "FAX_COM_PORT")->setCurrentIndex(before.FAX_COM_PORT == 2 ? 2 : 1);
    Press(*sheet, QDialogButtonBox::Cancel);
    QCOMPARE(sheet->result(), int(QDialog::Rejected));
    const DBNotifySrvConfig after = StoredServices();
    QCOMPARE(after.FAX_MODEM_INIT_STRING, before.FAX_MODEM_INIT_STRING);
    QCOMPARE(after.SMTP_MAILSERVER, before.SMTP_MAILSERVER);
    QCOMPARE(after.SMS_RETRIES, before.SMS_RETRIES);
    QCOMPARE(after.FAX_COM_PORT, before.FAX_COM_PORT);
}

// A running engine checks an agent audition every 100 ms: the old data
// directory has no "TARN.CFG", so the agent does not carry the audition; the
// new one lists it, and the next pass after OK finds it there.
void SettingsSheetsTest::ADataDirectoryGetsItsSeparatorAndTheRunningConsoleUsesItsTarnCfg() {
    const std::string oldData = Dir("old") + "/", newData = Dir("new");
    for (const std::string& data : {oldData, newData + "/"})
        WriteFile(data + "alpha/alpha.INI", "[Information]\r\nTARNStartDate=20261210080000\r\n");
    WriteFile(newData + "/TARN.CFG", "[Server]\r\nServer1=alpha\r\n");
    m_settings.SetDataDirectory(oldData);
    DBAudition audition;
    audition.AUDITION_ID = AUDITION_ID_NEW;
    audition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::NTEvtLog);
    audition.NAME = "Ereignisse";
    audition.ACTIVE = true;
    audition.NTEvtLog.SERVER_PATH = "alpha";
    audition.NTEvtLog.AUDIT_SYSTEMLOG = true;
    audition.NTEvtLog.AUDIT_ERROR = true;
    QVERIFY(m_pDB->SetAudition(audition));

    CLineView view;
    CHeadlessPluginUI pluginUI(false);
    ConsoleEngineOptions options;
    options.AuditPeriod = std::chrono::milliseconds(100);
    options.NotificationPeriod = std::chrono::hours(1);
    CConsoleEngine engine(*m_pDB, m_settings, nullptr, view, pluginUI, options);
    engine.InitializeFrame();
    engine.SynchronizeAuditionList();
    const std::string stops = "Ereignisse: " + LoadTarnString(1020);
    const std::string resumes = "Ereignisse: " + LoadTarnString(1021);
    QVERIFY(WaitFor([&] { return view.Has(stops); }, 10));

    CGeneralCfgPropertySheet sheet(*m_pDB, m_settings);
    sheet.show();
    sheet.Page().DataDirectory()->setText(QString::fromStdString(newData));
    sheet.Page().ProtocolFile()->setText(QString::fromStdString(Dir("neu.log")));
    Press(sheet, QDialogButtonBox::Ok);
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QCOMPARE(StoredSettings().DATA_DIRECTORY, newData + "/");
    QCOMPARE(StoredSettings().PROTOCOLFILE, Dir("neu.log"));
    QCOMPARE(m_settings.GetGlobalConfigFile(), newData + "/TARN.CFG");
    QCOMPARE(m_settings.GetProtocolFile(), Dir("neu.log"));
    QVERIFY(WaitFor([&] { return view.Has(resumes); }, 10));
    engine.ShutdownFrame();
}

void SettingsSheetsTest::AMissingDirectoryGives1018_data() {
    QTest::addColumn<QString>("directory");
    QTest::newRow("empty") << "";
    QTest::newRow("missing") << "/no/such/directory/";
}

void SettingsSheetsTest::AMissingDirectoryGives1018() {
    QFETCH(QString, directory);
    const DBConfiguration before = StoredSettings();
    CGeneralCfgPropertySheet sheet(*m_pDB, m_settings);
    sheet.show();
    QCOMPARE(sheet.Page().DataDirectory()->text().toStdString(), before.DATA_DIRECTORY);
    sheet.Page().DataDirectory()->setText(directory);
    CBoxAnswerer answer(QMessageBox::Ok);
    Press(sheet, QDialogButtonBox::Ok);
    QTRY_VERIFY(answer.Answered());
    QCOMPARE(answer.Text(), kDirectoryMissing);
    QCOMPARE(answer.Caption(), QStringLiteral("TARN! Fehler aufgetreten"));
    QCOMPARE(answer.Icon(), QMessageBox::Critical);
    QVERIFY(sheet.isVisible());
    QCOMPARE(StoredSettings().DATA_DIRECTORY, before.DATA_DIRECTORY);
    QCOMPARE(m_settings.GetDataDirectory(), before.DATA_DIRECTORY);
}

void SettingsSheetsTest::ADirectoryThatIsAFilePasses() {
    WriteFile(Dir("eine-datei"), "x");
    CGeneralCfgPropertySheet sheet(*m_pDB, m_settings);
    sheet.show();
    sheet.Page().DataDirectory()->setText(QString::fromStdString(Dir("eine-datei")));
    Press(sheet, QDialogButtonBox::Ok);
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QCOMPARE(StoredSettings().DATA_DIRECTORY, Dir("eine-datei") + "/");
}

void SettingsSheetsTest::CancelLeavesTheSettingsAlone() {
    const DBConfiguration before = StoredSettings();
    fs::create_directories(Dir("anders"));
    CGeneralCfgPropertySheet sheet(*m_pDB, m_settings);
    sheet.show();
    sheet.Page().DataDirectory()->setText(QString::fromStdString(Dir("anders")));
    sheet.Page().ProtocolFile()->setText(QString::fromStdString(Dir("anders.log")));
    Press(sheet, QDialogButtonBox::Cancel);
    QCOMPARE(StoredSettings().DATA_DIRECTORY, before.DATA_DIRECTORY);
    QCOMPARE(StoredSettings().PROTOCOLFILE, before.PROTOCOLFILE);
    QCOMPARE(m_settings.GetDataDirectory(), before.DATA_DIRECTORY);
    QCOMPARE(m_settings.GetProtocolFile(), before.PROTOCOLFILE);
}

// The database thread reports the failed store (message 1019); the running
// console works with the new values all the same.
void SettingsSheetsTest::AFailedStoreStillChangesTheRunningSettings() {
    fs::create_directories(Dir("neu"));
    CGeneralCfgPropertySheet sheet(*m_pDB, m_settings);
    sheet.show();
    ExecSQL(m_pDir->File("TARN.MDB"), "DROP TABLE CONFIGURATION");
    sheet.Page().DataDirectory()->setText(QString::fromStdString(Dir("neu")));
    Press(sheet, QDialogButtonBox::Ok);
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QCOMPARE(m_settings.GetDataDirectory(), Dir("neu") + "/");
    QCOMPARE(m_reporter.Errors().size(), size_t{1});
    QVERIFY2(m_reporter.Errors()[0].find("SetConfiguration") != std::string::npos,
             m_reporter.Errors()[0].c_str());
}

QTEST_MAIN(SettingsSheetsTest)
#include "SettingsSheetsTest.moc"
