// The test buttons' runner through each channel family's real peer, in test
// mode: the SMS library on the simulated modem, SMTP through the gateway to a
// loopback server, the trap through snmpd and the sub-agent, and a print job
// into a private cupsd's capture queue. A send that goes through shows 1118,
// a peer that refuses shows 1119; neither writes a history event.
#include "../WaitFor.h"
#include "../channels/ChannelPeerFixtures.h"
#include "../channels/PrintChannelFixture.h"
#include "../channels/SnmpStackFixture.h"
#include "BoxAnswerer.h"
#include "CChannelTestRunner.h"
#include "TestNotifications.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>

namespace {

const QString kSucceeded =
    QStringLiteral("Der Benachrichtigungstest wurde erfolgreich durchgeführt");
const QString kFailed = QStringLiteral(
    "Der Benachrichtigungstest ist fehlgeschlagen.\nBitte überprüfen Sie Ihre Einstellungen");
constexpr int kSendLimitMs = 90000;

struct TestOutcome {
    QString text;
    int32_t result = -1;
};

// Presses "&Test" for the channel the way a notification page does and
// answers the result box.
TestOutcome PressTest(INotificationChannels& channels, NotificationChannel channel,
                      const DBNotification& notification) {
    CTestNotifications tests;
    tests.Open(channels);
    QWidget page;
    page.setWindowTitle(QStringLiteral("Benachrichtigungseigenschaften"));
    page.show();
    auto* runner = new CChannelTestRunner(tests, &page);
    QSignalSpy finished(runner, &CChannelTestRunner::finished);
    CBoxAnswerer answer(QMessageBox::Ok);
    EXPECT_TRUE(runner->Start(channel, notification));
    EXPECT_TRUE(runner->IsRunning());
    EXPECT_FALSE(runner->Start(channel, notification)) << "one test at a time";
    EXPECT_TRUE(finished.wait(kSendLimitMs));
    tests.Close();
    if (finished.isEmpty())
        return {};
    return {answer.Text(), finished.first().first().value<int32_t>()};
}

class SmsTestButton : public SmsChannelFixture {};

TEST_F(SmsTestButton, ASentMessageShowsSuccess) {
    const TestOutcome outcome = PressTest(Channels(), CHANNEL_SMS, MakeJob().Notification);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.text, kSucceeded);
    EXPECT_EQ(m_modem->Units().size(), 1u);
    EXPECT_TRUE(Events().empty());
}

TEST_F(SmsTestButton, ABusyCentreShowsFailure) {
    m_modem->SetDialOutcome(SimDialOutcome::Busy);
    const TestOutcome outcome = PressTest(Channels(), CHANNEL_SMS, MakeJob().Notification);
    EXPECT_EQ(outcome.result, 1000);
    EXPECT_EQ(outcome.text, kFailed);
    EXPECT_TRUE(Events().empty());
}

// The operator closes the indicator and then the page while the modem still
// dials: the result that arrives afterwards is dropped without a box.
TEST_F(SmsTestButton, ClosingThePageBeforeTheResultArrivesIsSafe) {
    m_modem->SetPieceDelay(std::chrono::milliseconds(100));
    CTestNotifications tests;
    tests.Open(Channels());
    auto* page = new QWidget;
    page->show();
    auto* runner = new CChannelTestRunner(tests, page);
    ASSERT_TRUE(runner->Start(CHANNEL_SMS, MakeJob().Notification));
    auto* indicator = page->findChild<QProgressDialog*>();
    ASSERT_NE(indicator, nullptr);
    EXPECT_TRUE(indicator->isVisible());
    indicator->findChild<QPushButton*>()->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return page->findChild<QProgressDialog*>() == nullptr; }));
    EXPECT_TRUE(runner->IsRunning()) << "the send goes on";
    delete page;
    tests.Close();
    QTest::qWait(200);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(m_modem->Units().size(), 1u);
}

class SmtpTestButton : public SmtpChannelFixture {};

TEST_F(SmtpTestButton, AMessageTheServerTakesShowsSuccess) {
    const TestOutcome outcome = PressTest(Channels(), CHANNEL_SMTP, MakeJob().Notification);
    EXPECT_EQ(outcome.text, kSucceeded);
    ASSERT_EQ(m_server.Messages().size(), 1u);
    EXPECT_NE(m_server.Messages()[0].find("TARN! Benachrichtigungstest"), std::string::npos);
    EXPECT_TRUE(Events().empty());
}

TEST_F(SmtpTestButton, NoServerShowsFailure) {
    ChangeServices([](DBNotifySrvConfig& s) {
        s.SMTP_MAILSERVER = "127.0.0.1:" + std::to_string(FreeLoopbackPort());
    });
    EXPECT_EQ(PressTest(Channels(), CHANNEL_SMTP, MakeJob().Notification).text, kFailed);
}

// Settings stored but not yet loaded by the engine are not the ones tested.
TEST_F(SmtpTestButton, TheSettingsAreThoseTheEngineLastLoaded) {
    DBNotifySrvConfig stored;
    ASSERT_TRUE(m_database->GetNotifyServicesConfig(stored));
    stored.SMTP_MAILSERVER = "127.0.0.1:" + std::to_string(FreeLoopbackPort());
    ASSERT_TRUE(m_database->SetNotifyServicesConfig(stored));
    EXPECT_EQ(PressTest(Channels(), CHANNEL_SMTP, MakeJob().Notification).text, kSucceeded);
    EXPECT_EQ(m_server.Messages().size(), 1u);
}

class SnmpTestButton : public SnmpStack {};

TEST_F(SnmpTestButton, ATrapTheSubAgentSendsShowsSuccess) {
    const TestOutcome outcome = PressTest(Channels(), CHANNEL_SNMP, MakeJob().Notification);
    EXPECT_EQ(outcome.text, kSucceeded);
    const std::string traps = m_dir + "traps.log";
    EXPECT_TRUE(WaitFor(
        [&] {
            return ReadWholeFile(traps).find("\"TARN! Benachrichtigungstest\"") !=
                   std::string::npos;
        },
        15))
        << ReadWholeFile(traps);
    EXPECT_NE(ReadWholeFile(traps).find("Enterprise Specific Trap (11)"), std::string::npos);
    EXPECT_TRUE(Events().empty());
}

TEST_F(SnmpTestButton, NoSubAgentShowsFailure) {
    m_subAgent.Stop();
    EXPECT_EQ(PressTest(Channels(), CHANNEL_SNMP, MakeJob().Notification).text, kFailed);
}

class PrintTestButton : public PrintChannel {};

TEST_F(PrintTestButton, AJobInTheQueueShowsSuccess) {
    const size_t before = JobCount(kPrinterQueue);
    const TestOutcome outcome = PressTest(Channels(), CHANNEL_PRINTER, MakeJob().Notification);
    EXPECT_EQ(outcome.text, kSucceeded);
    const CapturedJob job = NextJob(kPrinterQueue, before);
    EXPECT_EQ(job.title, "TARN!");
    const std::string text = PdfText(job.data);
    if (!text.empty()) { // pdftotext is there
        EXPECT_NE(text.find("TARN! Benachrichtigungstest"), std::string::npos) << text;
    }
    EXPECT_TRUE(Events().empty());
}

TEST_F(PrintTestButton, AnUnknownQueueShowsFailure) {
    DBNotification notification = MakeJob().Notification;
    notification.Printer.PRINTERNAME = "Gibt-es-nicht";
    EXPECT_EQ(PressTest(Channels(), CHANNEL_PRINTER, notification).text, kFailed);
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
