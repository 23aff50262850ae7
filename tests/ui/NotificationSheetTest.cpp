// The notification sheet over a real configuration database: the pages, a
// new notification's defaults, refused values and the required name, texts
// cut at their limit, every channel row stored, Cancel, and the recipient
// and printer selection through the real mail library and a private cupsd.
#include "BoxAnswerer.h"
#include "CConsoleViewBridge.h"
#include "CDBEngineTARN.h"
#include "CNotificationChannelPage.h"
#include "CNotificationRules.h"
#include "CNotificationSheet.h"
#include "CPrinterSelectionDialog.h"
#include "CReportList.h"
#include "CupsTestServer.h"
#include "DailyWindow.h"
#include "FreshDatabase.h"
#include "HistoryRecorder.h"
#include "MailTestSupport.h"
#include "ModalScript.h"
#include "NotificationCaches.h"
#include "NotificationChannels.h"
#include "QtDocumentPrinter.h"
#include "TestNotifications.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

#include <sys/stat.h>

#include <cstdlib>

class NotificationSheetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void PagesFollowTheChannelOrder();
    void NewNotificationSavedUnchangedIsActiveAroundTheClock();
    void RefusedValueKeepsItsPage_data();
    void RefusedValueKeepsItsPage();
    void TextsAreCutAtTheirLimit_data();
    void TextsAreCutAtTheirLimit();
    void OkStoresEveryChannelRow();
    void CancelStoresNothing();
    void RecipientsComeFromTheAddressBook();
    void FailedLogonAndMissingLibraryAreReported();
    void SlowLogonKeepsTheWindowWorkingAndCanBeLeft();
    void PrinterComesFromTheQueuesOfThisComputer();
    void TestButtonSendsThePageAsItStands();

private:
    std::unique_ptr<CFreshDatabase> m_pData;
    CDBEngineTARN* m_pDB = nullptr;
    std::unique_ptr<CNotificationSheet> m_pSheet;
    std::string m_strMailLibrary; // the real library; a test may name a missing one
    static CCupsTestServer* s_cups;
    static std::string s_cupsError;

    NotifySheetContext Context() {
        return {*m_pDB, QStringLiteral("velda TARN! 2.5"), m_strMailLibrary};
    }
    CNotificationSheet& Open(const DBNotification& notification);
    DBNotification Stored(int32_t id) {
        DBNotification record;
        if (!m_pDB->GetNotification(id, record))
            qFatal("notification %d not stored", id);
        return record;
    }
    int32_t StoreNotification();
    void SetMailLogon(const std::string& profile, const std::string& password);
    QWidget* Field(const char* column);
    // Shows the page that holds the column.
    void ShowPageOf(const char* column);
};

CCupsTestServer* NotificationSheetTest::s_cups = nullptr;
std::string NotificationSheetTest::s_cupsError;

namespace {

const char* const kWindowEnds[] = {"SMS.ACTIVE_END",     "MSMAIL.ACTIVE_END", "FAX.ACTIVE_END",
                                   "PRINTER.ACTIVE_END", "SMTP.ACTIVE_END",   "SNMP.ACTIVE_END"};

// Replaces the field's text as typing would (keyClicks knows ASCII only).
void Type(QWidget* field, const QString& text) {
    field->setFocus();
    if (auto* number = qobject_cast<QSpinBox*>(field))
        number->selectAll();
    else if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    for (const QChar letter : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(letter), Qt::NoModifier);
}

// A click on the box itself, not on the empty room its cell may give it.
void Toggle(QWidget* field) {
    auto* box = qobject_cast<QCheckBox*>(field);
    QVERIFY(box);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void ClickOk(CNotifyPropertySheet& sheet) {
    QTest::mouseClick(sheet.Buttons().button(QDialogButtonBox::Ok), Qt::LeftButton);
}

QString Text(QWidget* field) {
    return qobject_cast<QLineEdit*>(field)->text();
}

} // namespace

// One scheduler for the whole process: the CUPS client keeps the server it
// first talked to.
void NotificationSheetTest::initTestCase() {
    s_cups = new CCupsTestServer;
    if (s_cups->Start({"Leitstand", "Buero"}, s_cupsError))
        ::setenv("CUPS_SERVER", s_cups->Socket().c_str(), 1);
}

void NotificationSheetTest::cleanupTestCase() {
    delete s_cups;
    s_cups = nullptr;
}

void NotificationSheetTest::init() {
    m_pData = std::make_unique<CFreshDatabase>();
    m_pDB = &m_pData->Engine();
    m_strMailLibrary = std::string(TARN_BIN_DIR) + "/libLUSendMail.so";
    QVERIFY(m_pData->IsOpen());
}

void NotificationSheetTest::cleanup() {
    m_pSheet.reset();
    m_pDB = nullptr;
    m_pData.reset();
}

CNotificationSheet& NotificationSheetTest::Open(const DBNotification& notification) {
    m_pSheet = std::make_unique<CNotificationSheet>(Context(), notification);
    m_pSheet->show();
    return *m_pSheet;
}

int32_t NotificationSheetTest::StoreNotification() {
    DBNotification notification = CNotificationRules::NewNotification();
    notification.NAME = "Bereitschaft";
    notification.SMS_ACTIVE = true;
    notification.SMS.RECIPIENT = "0171 1234567";
    notification.MSMail.RECIPIENTS = "Bob";
    if (!m_pDB->SetNotification(notification))
        qFatal("cannot store a notification");
    return notification.NOTIFICATION_ID;
}

void NotificationSheetTest::SetMailLogon(const std::string& profile, const std::string& password) {
    DBNotifySrvConfig services;
    QVERIFY(m_pDB->GetNotifyServicesConfig(services));
    services.MSMAIL_LOGON_PROFILE = profile;
    services.MSMAIL_LOGON_PROFILE_PASSWORD = password;
    QVERIFY(m_pDB->SetNotifyServicesConfig(services));
}

QWidget* NotificationSheetTest::Field(const char* column) {
    auto* field = m_pSheet->findChild<QWidget*>(QString::fromLatin1(column));
    if (!field)
        qFatal("no field %s", column);
    return field;
}

void NotificationSheetTest::ShowPageOf(const char* column) {
    QTabWidget& tabs = m_pSheet->Tabs();
    for (int page = 0; page < tabs.count(); ++page)
        if (tabs.widget(page)->isAncestorOf(Field(column)))
            tabs.setCurrentIndex(page);
}

void NotificationSheetTest::PagesFollowTheChannelOrder() {
    CNotificationSheet& sheet = Open(CNotificationRules::NewNotification());
    QCOMPARE(sheet.windowTitle(), QStringLiteral("Benachrichtigungseigenschaften"));
    QStringList pages;
    for (int page = 0; page < sheet.Tabs().count(); ++page)
        pages << sheet.Tabs().tabText(page);
    QCOMPARE(pages, QStringList({"Allgemein", "SMS", "MS-Mail", "Fax", "Drucker", "Internet-Mail",
                                 "SNMP"}));
    QStringList services;
    for (QCheckBox* box : sheet.Tabs().widget(0)->findChildren<QCheckBox*>())
        services << box->text();
    QCOMPARE(services, QStringList({"SMS", "MS-Mail", "Fax", "Drucker", "Internet-Mail", "SNMP"}));
    for (int channel = 0; channel < CHANNEL_COUNT; ++channel) {
        CNotificationChannelPage& page =
            sheet.ChannelPage(static_cast<NotificationChannel>(channel));
        QCOMPARE(page.TestButton()->text(), QStringLiteral("&Test"));
        QVERIFY(!page.TestButton()->isEnabled()); // no test notifications in this context
        const bool browses = channel == CHANNEL_MSMAIL || channel == CHANNEL_PRINTER;
        QCOMPARE(page.BrowseButton() != nullptr, browses);
    }
}

void NotificationSheetTest::NewNotificationSavedUnchangedIsActiveAroundTheClock() {
    CNotificationSheet& sheet = Open(CNotificationRules::NewNotification());
    Type(sheet.GeneralField("NAME"), QStringLiteral("Rund um die Uhr"));
    for (QCheckBox* box : sheet.Tabs().widget(0)->findChildren<QCheckBox*>())
        Toggle(box);
    ClickOk(sheet);
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    DBNotificationList all;
    QVERIFY(m_pDB->GetAllNotifications(all));
    QCOMPARE(all.size(), size_t{1});
    QCOMPARE(sheet.Notification().NOTIFICATION_ID, all[0].NOTIFICATION_ID);
    const DBNotification stored = Stored(all[0].NOTIFICATION_ID);
    QVERIFY(stored.Valid());
    for (int index = 0; index < CHANNEL_COUNT; ++index) {
        const auto channel = static_cast<NotificationChannel>(index);
        QVERIFY(IsChannelActive(stored, channel));
        int32_t begin = -1, end = -1;
        GetChannelWindow(stored, channel, begin, end);
        for (int hour = 0; hour < 24; ++hour)
            QVERIFY2(IsInActiveWindow(begin, end, hour), kWindowEnds[index]);
    }
    QCOMPARE(stored.SNMP.ENTERPRISE, std::string("1.3.6.1.4.1.0"));
    QCOMPARE(stored.SNMP.VARIABLE_ID, std::string("1.3.6.1.4.1.1.0"));
    QCOMPARE(stored.SNMP.SPECIFIC_ID, 1);
    QCOMPARE(stored.SNMP.SPECIFIC_ID_RESOLVED, 2);
    QCOMPARE(stored.SNMP.SPECIFIC_ID_UNRESOLVED, 3);
}

void NotificationSheetTest::RefusedValueKeepsItsPage_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString hours = QStringLiteral("Geben Sie eine ganze Zahl zwischen 0 und 24 ein.");
    for (const char* end : kWindowEnds)
        QTest::newRow(end) << end << "25" << hours;
    QTest::newRow("begin below 0") << "FAX.ACTIVE_BEGIN"
                                   << "-1" << hours;
    QTest::newRow("trap id below 0") << "SNMP.SPECIFIC_ID_RESOLVED"
                                     << "-1"
                                     << "Geben Sie eine ganze Zahl zwischen 0 und 2147483647 ein.";
    QTest::newRow("no name") << "NAME"
                             << ""
                             << "Sie müssen der Benachrichtigung erst einen Namen geben";
}

void NotificationSheetTest::RefusedValueKeepsItsPage() {
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    const QByteArray name = column.toLatin1();
    DBNotification notification = CNotificationRules::NewNotification();
    notification.NAME = "Grenzen";
    CNotificationSheet& sheet = Open(notification);
    ShowPageOf(name.constData());
    const int page = sheet.Tabs().currentIndex();
    Type(Field(name.constData()), typed);
    {
        CBoxAnswerer answer(QMessageBox::Ok);
        sheet.Tabs().setCurrentIndex(page == 0 ? 1 : 0);
        QCOMPARE(answer.Text(), message);
        QCOMPARE(answer.Caption(), QStringLiteral("TARN! Fehler aufgetreten"));
        QCOMPARE(sheet.Tabs().currentIndex(), page);
        QCOMPARE(sheet.focusWidget(), Field(name.constData()));
    }
    CBoxAnswerer answer(QMessageBox::Ok);
    ClickOk(sheet);
    QCOMPARE(answer.Text(), message);
    QVERIFY(sheet.isVisible());
    DBNotificationList all;
    QVERIFY(m_pDB->GetAllNotifications(all));
    QVERIFY(all.empty());
}

void NotificationSheetTest::TextsAreCutAtTheirLimit_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("piece");
    QTest::addColumn<int>("limit");
    QTest::newRow("name") << "NAME"
                          << "x" << 255;
    QTest::newRow("sms recipient") << "SMS.RECIPIENT"
                                   << "1" << 255;
    QTest::newRow("variable id") << "SNMP.VARIABLE_ID"
                                 << "1." << 100;
    // Characters outside the Basic Multilingual Plane count once each.
    QTest::newRow("printer text") << "PRINTER.PRINTERTEXT" << QString::fromUtf8("\xF0\x9F\x96\xA8")
                                  << 255;
}

void NotificationSheetTest::TextsAreCutAtTheirLimit() {
    QFETCH(QString, column);
    QFETCH(QString, piece);
    QFETCH(int, limit);
    const QByteArray name = column.toLatin1();
    DBNotification notification = CNotificationRules::NewNotification();
    notification.NAME = "Grenzen"; // so that the general page may be left
    Open(notification);
    ShowPageOf(name.constData());
    auto* edit = qobject_cast<QLineEdit*>(Field(name.constData()));
    edit->clear();
    edit->insert(piece.repeated(limit)); // a paste of the text
    edit->insert(piece);
    QCOMPARE(edit->text().toUcs4().size(), qsizetype(limit));
    QVERIFY(edit->text().startsWith(piece.repeated(limit / piece.size() / 2)));
}

void NotificationSheetTest::OkStoresEveryChannelRow() {
    const int32_t id = StoreNotification();
    const std::vector<std::pair<const char*, QString>> values = {
        {"DESCRIPTION", "Leitstand nachts"},
        {"FAX_ACTIVE", "1"},
        {"SMS.ACTIVE_BEGIN", "22"},
        {"SMS.SENDERINFO", "TARN"},
        {"MSMAIL.MAILTEXT", "Bitte prüfen"},
        {"FAX.RECIPIENT", "0301234"},
        {"FAX.ACTIVE_END", "6"},
        {"PRINTER.PRINTERTEXT", "Ausdruck"},
        {"SMTP.RECIPIENTS", "ops@example.org"},
        {"SMTP.ACTIVE_BEGIN", "8"},
        {"SNMP.ENTERPRISE", "1.3.6.1.4.1.99"},
        {"SNMP.SPECIFIC_ID_UNRESOLVED", "2147483647"},
    };
    CNotificationSheet& sheet = Open(Stored(id));
    QCOMPARE(Text(sheet.GeneralField("NAME")), QStringLiteral("Bereitschaft"));
    for (const auto& [column, value] : values) {
        ShowPageOf(column);
        if (qobject_cast<QCheckBox*>(Field(column)))
            Toggle(Field(column));
        else
            Type(Field(column), value);
    }
    ClickOk(sheet);
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    const DBNotification stored = Stored(id);
    for (const auto& [column, value] : values) {
        const ConfigField<DBNotification>* field = FindField(CNotificationRules::Fields(), column);
        QCOMPARE(QString::fromStdString(FieldValueText(field->get(stored))), value);
    }
    QCOMPARE(stored.SMS.RECIPIENT, std::string("0171 1234567")); // untouched fields stay
    QVERIFY(stored.SMS_ACTIVE);
}

void NotificationSheetTest::CancelStoresNothing() {
    const int32_t id = StoreNotification();
    const DBNotification before = Stored(id);
    CNotificationSheet& sheet = Open(before);
    Type(sheet.GeneralField("NAME"), QStringLiteral("anders"));
    Toggle(sheet.GeneralField("SMS_ACTIVE"));
    QVERIFY(!qobject_cast<QCheckBox*>(sheet.GeneralField("SMS_ACTIVE"))->isChecked());
    ShowPageOf("SMS.RECIPIENT");
    Type(Field("SMS.RECIPIENT"), QStringLiteral("0"));
    Type(Field("SNMP.SPECIFIC_ID"), QStringLiteral("77"));
    QTest::mouseClick(sheet.Buttons().button(QDialogButtonBox::Cancel), Qt::LeftButton);
    QCOMPARE(sheet.result(), int(QDialog::Rejected));
    const DBNotification after = Stored(id);
    for (const ConfigField<DBNotification>& field : CNotificationRules::Fields())
        QVERIFY2(field.get(after) == field.get(before), field.spec.column);
}

void NotificationSheetTest::RecipientsComeFromTheAddressBook() {
    CMailTestSystem mail;
    mail.WriteProfile(CMailTestSystem::StandardKeys(mail.Dir()));
    ::setenv("TARN_MAIL_PROFILES", mail.ProfilesPath().c_str(), 1);
    SetMailLogon("Monitor", "secret");
    const int32_t id = StoreNotification();
    Open(Stored(id));
    ShowPageOf("MSMAIL.RECIPIENTS");
    QStringList initial;
    QString caption;
    CModalScript<QDialog> script([&](QDialog& book) {
        caption = book.windowTitle();
        auto* well = book.findChild<QListWidget*>("well");
        for (int row = 0; row < well->count(); ++row)
            initial << well->item(row)->text();
        auto* entries = book.findChild<QTreeWidget*>("book");
        const auto found = entries->findItems(QStringLiteral("Alice Example"), Qt::MatchExactly);
        QCOMPARE(found.size(), qsizetype(1));
        entries->clearSelection();
        found[0]->setSelected(true);
        QTest::mouseClick(book.findChild<QPushButton*>("to"), Qt::LeftButton);
        QTest::mouseClick(book.findChild<QPushButton*>("ok"), Qt::LeftButton);
    });
    QTest::mouseClick(m_pSheet->ChannelPage(CHANNEL_MSMAIL).BrowseButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(script.Played(), 30000);
    QCOMPARE(caption, QStringLiteral("Empfängerauswahl"));
    QCOMPARE(initial, QStringList({"Bob"}));
    QCOMPARE(Text(Field("MSMAIL.RECIPIENTS")), QStringLiteral("Bob;Alice Example"));
    ::unsetenv("TARN_MAIL_PROFILES");
}

void NotificationSheetTest::FailedLogonAndMissingLibraryAreReported() {
    CMailTestSystem mail;
    mail.WriteProfile(CMailTestSystem::StandardKeys(mail.Dir()));
    ::setenv("TARN_MAIL_PROFILES", mail.ProfilesPath().c_str(), 1);
    SetMailLogon("Monitor", "falsch");
    const int32_t id = StoreNotification();
    Open(Stored(id));
    ShowPageOf("MSMAIL.RECIPIENTS");
    {
        CBoxAnswerer answer(QMessageBox::Ok);
        QTest::mouseClick(m_pSheet->ChannelPage(CHANNEL_MSMAIL).BrowseButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(answer.Answered(), 30000);
        QVERIFY(answer.Text().startsWith("Das Anmelden im MAIL System ist fehlgeschlagen."));
        QCOMPARE(answer.Caption(), QStringLiteral("TARN! Fehler aufgetreten"));
        QCOMPARE(answer.Icon(), QMessageBox::Critical);
    }
    QCOMPARE(Text(Field("MSMAIL.RECIPIENTS")), QStringLiteral("Bob"));
    ::unsetenv("TARN_MAIL_PROFILES");

    m_strMailLibrary = m_pData->Dir().File("libLUSendMail.so"); // no such file
    Open(Stored(id));
    ShowPageOf("MSMAIL.RECIPIENTS");
    CBoxAnswerer answer(QMessageBox::Ok);
    QTest::mouseClick(m_pSheet->ChannelPage(CHANNEL_MSMAIL).BrowseButton(), Qt::LeftButton);
    QCOMPARE(answer.Text(),
             QStringLiteral("Die Benachrichtigungskomponente konnte nicht gefunden werden."));
}

// The log-on first hands over what waits in the outbox, which can take as
// long as the mail system's command: meanwhile the window goes on, a busy
// indicator covers the page, and closing it drops the selection.
void NotificationSheetTest::SlowLogonKeepsTheWindowWorkingAndCanBeLeft() {
    CMailTestSystem mail;
    const std::string gate = mail.Dir() + "/gate";
    const std::string command = mail.Dir() + "/slow-submit.sh";
    WriteFile(command,
              "#!/bin/sh\nwhile [ ! -e '" + gate + "' ]; do sleep 0.05; done\ncat >/dev/null\n");
    ::chmod(command.c_str(), 0755);
    std::vector<std::string> keys = CMailTestSystem::StandardKeys(mail.Dir());
    keys.back() = "Submit=" + command;
    mail.WriteProfile(keys);
    WriteFile(mail.OutboxPath() + "/waiting.eml", "To: bob@example.org\n\nwaiting\n");
    ::setenv("TARN_MAIL_PROFILES", mail.ProfilesPath().c_str(), 1);
    SetMailLogon("Monitor", "secret");
    const int32_t id = StoreNotification();
    Open(Stored(id));
    ShowPageOf("MSMAIL.RECIPIENTS");
    bool bookShown = false;
    CModalScript<QDialog> book([&](QDialog&) { bookShown = true; });

    QTest::mouseClick(m_pSheet->ChannelPage(CHANNEL_MSMAIL).BrowseButton(), Qt::LeftButton);
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    QTRY_VERIFY(ticks >= 20); // the event loop runs while the log-on waits
    auto* indicator = m_pSheet->findChild<QProgressDialog*>();
    QVERIFY(indicator && indicator->isVisible());
    QCOMPARE(indicator->labelText(), QStringLiteral("Die Anmeldung im MAIL System läuft..."));
    QVERIFY(mail.Waiting() == std::vector<std::string>({"waiting.eml"}));
    QTest::mouseClick(indicator->findChild<QPushButton*>(), Qt::LeftButton);
    QTRY_VERIFY(!m_pSheet->findChild<QProgressDialog*>());

    WriteFile(gate, "");
    QTRY_VERIFY_WITH_TIMEOUT(mail.Waiting().empty(), 30000);
    QTest::qWait(200); // the log-on's result arrives and is dropped
    QVERIFY(!bookShown);
    QCOMPARE(Text(Field("MSMAIL.RECIPIENTS")), QStringLiteral("Bob"));
    ::unsetenv("TARN_MAIL_PROFILES");
}

void NotificationSheetTest::PrinterComesFromTheQueuesOfThisComputer() {
    if (!s_cupsError.empty())
        QSKIP(("no private CUPS scheduler: " + s_cupsError).c_str());
    const int32_t id = StoreNotification();
    Open(Stored(id));
    ShowPageOf("PRINTER.PRINTERNAME");
    QStringList queues;
    QString driver;
    auto choose = [&](const QString& queue) {
        return [&, queue](CPrinterSelectionDialog& dialog) {
            QAbstractItemModelTester tester(&dialog.Model(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
            queues.clear();
            for (int row = 0; row < dialog.Model().rowCount(); ++row)
                queues << dialog.Model().At(row).name;
            dialog.List().SelectSourceRow(dialog.Model().RowOfName(queue));
            driver = dialog.Selected()->driver;
            dialog.accept();
        };
    };
    {
        CModalScript<CPrinterSelectionDialog> script(choose(QStringLiteral("Leitstand")));
        QTest::mouseClick(m_pSheet->ChannelPage(CHANNEL_PRINTER).BrowseButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(script.Played(), 30000);
    }
    QCOMPARE(queues, QStringList({"Buero", "Leitstand"}));
    QCOMPARE(Text(Field("PRINTER.PRINTERNAME")), QStringLiteral("Leitstand"));
    QCOMPARE(Text(Field("PRINTER.DRIVERNAME")), driver);
    {
        // The queue of the page is the one selected when the list opens.
        bool preselected = false;
        CModalScript<CPrinterSelectionDialog> script([&](CPrinterSelectionDialog& dialog) {
            preselected = dialog.Selected() && dialog.Selected()->name == "Leitstand";
            dialog.reject();
        });
        QTest::mouseClick(m_pSheet->ChannelPage(CHANNEL_PRINTER).BrowseButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(script.Played(), 30000);
        QVERIFY(preselected);
    }
    ClickOk(*m_pSheet);
    QCOMPARE(Stored(id).Printer.PRINTERNAME, std::string("Leitstand"));
    QCOMPARE(QString::fromStdString(Stored(id).Printer.DRIVERNAME), driver);

    Open(Stored(id));
    ShowPageOf("PRINTER.PRINTERNAME");
    Type(Field("PRINTER.PRINTERNAME"), QStringLiteral("Anderer"));
    QVERIFY(Text(Field("PRINTER.DRIVERNAME")).isEmpty()); // a name typed by hand has no driver
}

// "&Test" on the printer page prints the test page on the queue the page
// names, unsaved, through the real channel; a refused value starts no test.
void NotificationSheetTest::TestButtonSendsThePageAsItStands() {
    if (!s_cupsError.empty())
        QSKIP(("no private CUPS scheduler: " + s_cupsError).c_str());
    CConsoleViewBridge view;
    CHistoryRecorder recorder(*m_pDB, view);
    std::mutex sendLock;
    CNotificationCaches caches;
    caches.Reload(*m_pDB);
    CQtDocumentPrinter printer;
    CNotificationChannels channels(recorder, sendLock, caches, nullptr, m_strMailLibrary, printer);
    CTestNotifications tests;
    tests.Open(channels);
    const int32_t id = StoreNotification();
    m_pSheet = std::make_unique<CNotificationSheet>(
        NotifySheetContext{*m_pDB, QStringLiteral("velda TARN! 2.5"), m_strMailLibrary, &tests},
        Stored(id));
    m_pSheet->show();
    ShowPageOf("PRINTER.PRINTERNAME");
    QPushButton* test = m_pSheet->ChannelPage(CHANNEL_PRINTER).TestButton();
    QVERIFY(test->isEnabled());
    auto press = [&](const QString& expected) {
        CBoxAnswerer answer(QMessageBox::Ok);
        QTest::mouseClick(test, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return answer.Answered(); }, 60000));
        QCOMPARE(answer.Text(), expected);
    };
    const size_t before = s_cups->WaitForJobs("Leitstand", 0, std::chrono::seconds(0)).size();
    Type(Field("PRINTER.PRINTERNAME"), QStringLiteral("Leitstand"));
    press(QStringLiteral("Der Benachrichtigungstest wurde erfolgreich durchgeführt"));
    const auto jobs = s_cups->WaitForJobs("Leitstand", before + 1, std::chrono::seconds(30));
    QCOMPARE(jobs.size(), before + 1);
    const std::string text = PdfText(jobs.back().data);
    QVERIFY2(text.empty() || text.find("TARN! Benachrichtigungstest") != std::string::npos,
             text.c_str());

    Type(Field("PRINTER.ACTIVE_END"), QStringLiteral("25"));
    press(QStringLiteral("Geben Sie eine ganze Zahl zwischen 0 und 24 ein."));
    Type(Field("PRINTER.ACTIVE_END"), QStringLiteral("24"));
    Type(Field("PRINTER.PRINTERNAME"), QStringLiteral("Fehlt"));
    press(QStringLiteral(
        "Der Benachrichtigungstest ist fehlgeschlagen.\nBitte überprüfen Sie Ihre Einstellungen"));
    tests.Close();
    QVERIFY(Stored(id).Printer.PRINTERNAME.empty()); // a test stores nothing
    QCOMPARE(s_cups->WaitForJobs("Leitstand", 0, std::chrono::seconds(0)).size(), before + 1);
}

QTEST_MAIN(NotificationSheetTest)
#include "NotificationSheetTest.moc"
