// What every channel writes: the four-part event of kind 1 or 3 under the
// job's problem, the same line in the event view, nothing in test mode; and
// the texts the printer and fax channels hand to the print path.
#include "../gateway/GatewayTestSupport.h"
#include "ChannelTestSupport.h"

#include "ChannelFactory.h"
#include "NotificationText.h"
#include "TARNTool.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

const std::string kOccurred = "Das Problem trat zum ersten Mal auf.";

class ChannelEvents : public ChannelTest {};

TEST_F(ChannelEvents, PrinterSendsTheConfiguredTextBeforeTheLongText) {
    const NotificationJob job = MakeJob();
    EXPECT_EQ(Channels().SendPrinterNotification(job, false), 1);
    ASSERT_EQ(m_recordingPrinter.documents.size(), 1u);
    const auto& document = m_recordingPrinter.documents[0];
    EXPECT_EQ(document.queue, "Leitstand");
    EXPECT_EQ(document.name, "TARN!");
    EXPECT_EQ(document.lines,
              PrintedLines("Meldung fuer den Leitstand\n\n" + ComposeNotificationText(job) + "\n"));

    const std::string text = ExpectedEventText(
        "Drucker Benachrichtigung <Bereitschaft> auf Drucker <Leitstand> durchgeführt", kOccurred,
        "Benachrichtigungdruck an Druckerspooler übertragen");
    const auto events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].EVENT_DESCRIPTION, text);
    EXPECT_EQ(events[0].CATEGORY, EVENT_CATEGORY_NOTIFICATION);
    EXPECT_EQ(events[0].INFO_ID, "1") << "the stage";
    EXPECT_EQ(events[0].COMPUTER, "PC7");
    const auto lines = m_view.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].kind, EVENT_VIEW_INFO);
    EXPECT_EQ(lines[0].audition, "Spooler-Dienst");
    EXPECT_EQ(lines[0].text, text);
}

TEST_F(ChannelEvents, AFailedPrintIsAnErrorEventWithItsResultText) {
    m_recordingPrinter.succeed = false;
    EXPECT_EQ(Channels().SendPrinterNotification(MakeJob(NOTIFY_STAGE_UNRESOLVED), false), 2);
    const auto events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].EVENT_DESCRIPTION,
              ExpectedEventText(
                  "Drucker Benachrichtigung <Bereitschaft> auf Drucker <Leitstand> durchgeführt",
                  "Das Problem konnte nicht behoben werden.",
                  "Es trat ein Fehler beim Drucken auf. Bitte überprüfen Sie Ihre Einstellungen"));
    EXPECT_EQ(events[0].INFO_ID, "2");
    ASSERT_EQ(m_view.Lines().size(), 1u);
    EXPECT_EQ(m_view.Lines()[0].kind, EVENT_VIEW_ERROR);
}

TEST_F(ChannelEvents, ATextWithoutLineFeedIsPrintedAsOneLine) {
    NotificationJob job = MakeJob();
    EXPECT_EQ(Channels().SendPrinterNotification(job, true), 1);
    ASSERT_EQ(m_recordingPrinter.documents.size(), 1u);
    EXPECT_EQ(m_recordingPrinter.documents[0].lines,
              std::vector<std::string>{"TARN! Benachrichtigungstest"});
}

TEST_F(ChannelEvents, FaxPrintsOnTheFaxQueueNamedAfterTheNumber) {
    const NotificationJob job = MakeJob();
    EXPECT_EQ(Channels().SendFaxNotification(job, false), 1);
    ASSERT_EQ(m_recordingPrinter.documents.size(), 1u);
    const auto& document = m_recordingPrinter.documents[0];
    EXPECT_EQ(document.queue, "LG-Fax");
    EXPECT_EQ(document.name, "fax.0891234567 - TARN!");
    EXPECT_EQ(document.lines,
              PrintedLines("An die Leitstelle\n\n" + ComposeNotificationText(job) + "\n"));
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].EVENT_DESCRIPTION,
              ExpectedEventText("Fax Benachrichtigung <Bereitschaft> an <0891234567> durchgeführt.",
                                kOccurred, "Benachrichtigungsfax an Faxserver übertragen"));

    m_recordingPrinter.succeed = false;
    EXPECT_EQ(Channels().SendFaxNotification(job, false), 2);
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[1].EVENT_DESCRIPTION,
              ExpectedEventText(
                  "Fax Benachrichtigung <Bereitschaft> an <0891234567> durchgeführt.", kOccurred,
                  "Es trat ein Fehler beim Faxen auf. Bitte überprüfen Sie Ihre Einstellungen"));
}

TEST_F(ChannelEvents, FaxWritesTheFaxSoftwareSettingsWhenItsKeyExists) {
    WriteRegistry("[SOFTWARE\\velda\\TARN!]\nDebugLevel=0\n[SOFTWARE\\Lipp&Grau\\Fax]\nInit=alt\n");
    ChangeServices([](DBNotifySrvConfig& s) {
        s.FAX_MODEM_INIT_STRING = "AT&F";
        s.FAX_DIAL_PREFIX = "0";
        s.FAX_COM_PORT = 2;
        s.FAX_DIAL_TYPE = 1;
        s.FAX_RETRIES = 4;
    });
    EXPECT_EQ(Channels().SendFaxNotification(MakeJob(), false), 1);
    CRegistryFile registry(m_registryPath);
    const char* key = "SOFTWARE\\Lipp&Grau\\Fax";
    EXPECT_EQ(registry.ReadString(key, "Init"), "AT&F");
    EXPECT_EQ(registry.ReadString(key, "DialPrefix"), "0");
    EXPECT_EQ(registry.ReadString(key, "Port"), "com2");
    EXPECT_EQ(registry.ReadString(key, "DialMode"), "1");
    EXPECT_EQ(registry.ReadString(key, "Trials"), "4");
    EXPECT_EQ(registry.ReadString(key, "WaitTime"), "180");
    EXPECT_EQ(registry.ReadString(key, "Answer"), "0");
    EXPECT_EQ(registry.ReadString(key, "NoLGFaxLogo"), "1");
}

TEST_F(ChannelEvents, WithoutTheFaxSoftwareKeyTheFaxIsPrintedAndNothingIsCreated) {
    const std::string before = ReadRegistry();
    EXPECT_EQ(Channels().SendFaxNotification(MakeJob(), false), 1);
    EXPECT_EQ(ReadRegistry(), before);
    EXPECT_EQ(m_recordingPrinter.documents.size(), 1u);
}

TEST_F(ChannelEvents, MissingMailLibraryGives1027WithoutACall) {
    m_mailLibraryPath = m_dir + "libLUSendMail.so"; // no such file
    EXPECT_EQ(Channels().SendMsMailNotification(MakeJob(), false), 2);
    const auto events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].EVENT_DESCRIPTION,
              ExpectedEventText(
                  "MS-Mail Benachrichtigung <Bereitschaft> an <Bereitschaft> durchgeführt.",
                  kOccurred, "Die Benachrichtigungskomponente konnte nicht gefunden werden."));
    EXPECT_EQ(m_view.Lines().at(0).kind, EVENT_VIEW_ERROR);
}

TEST_F(ChannelEvents, ALibraryWithoutTheEntryPointCountsAsMissing) {
    m_mailLibraryPath =
        std::string(TARN_BIN_DIR) + "/libSnmpTARN.so"; // loads, has no SendMailMessage
    EXPECT_EQ(Channels().SendMsMailNotification(MakeJob(), true), 2);
    EXPECT_TRUE(Events().empty());
}

TEST_F(ChannelEvents, SnmpWithoutTheAgentGives1031WithItsTrailingSpace) {
    const std::string suffix = "_chn" + std::to_string(::getpid()) + "_none";
    ::setenv("TARN_SNMP_NAME_SUFFIX", suffix.c_str(), 1);
    EXPECT_EQ(Channels().SendSnmpNotification(MakeJob(NOTIFY_STAGE_UNRESOLVED), false), 2);
    const auto events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(
        events[0].EVENT_DESCRIPTION,
        ExpectedEventText("SNMP Benachrichtigung <Bereitschaft> <Trap ID: 12> durchgeführt.",
                          "Das Problem konnte nicht behoben werden.",
                          "Es trat ein Fehler beim Absetzen der SNMP Benachrichtigung auf. Bitte "
                          "überprüfen Sie Ihre Einstellungen "));
    ::unsetenv("TARN_SNMP_NAME_SUFFIX");
}

TEST_F(ChannelEvents, SmtpWithoutAGatewayThatCanStartGives1025) {
    CTestRuntimeDir runtime; // no gateway listens here, and none can be started below
    m_gatewayProgram = m_dir + "TARN_Gateway";
    EXPECT_EQ(Channels().SendSmtpNotification(MakeJob(), false), 2);
    const auto events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(
        events[0].EVENT_DESCRIPTION,
        ExpectedEventText(
            "Internet-Mail Benachrichtigung <Bereitschaft> an <oncall@example.org> durchgeführt.",
            kOccurred, "Die übergebenen Parameter sind unvollständig oder fehlerhaft"));
}

// Test mode: every channel sends the test text and records nothing, whatever
// its outcome.
TEST_F(ChannelEvents, TestModeWritesNoEventOnAnyChannel) {
    CTestRuntimeDir runtime;
    m_gatewayProgram = m_dir + "TARN_Gateway";
    m_mailLibraryPath = m_dir + "missing.so";
    const std::string suffix = "_chn" + std::to_string(::getpid()) + "_test";
    ::setenv("TARN_SNMP_NAME_SUFFIX", suffix.c_str(), 1);
    ::setenv("TARN_SMS_TIME_SCALE", "0.01", 1);
    const NotificationJob job = MakeJob();
    CNotificationChannels& channels = Channels();
    EXPECT_EQ(channels.SendPrinterNotification(job, true), 1);
    EXPECT_EQ(channels.SendFaxNotification(job, true), 1);
    EXPECT_NE(channels.SendSmsNotification(job, true), 1) << "no modem is configured";
    EXPECT_EQ(channels.SendMsMailNotification(job, true), 2);
    EXPECT_EQ(channels.SendSmtpNotification(job, true), 2);
    EXPECT_EQ(channels.SendSnmpNotification(job, true), 2);
    EXPECT_TRUE(Events().empty());
    EXPECT_TRUE(m_view.Lines().empty());
    ASSERT_EQ(m_recordingPrinter.documents.size(), 2u);
    EXPECT_EQ(m_recordingPrinter.documents[1].lines,
              std::vector<std::string>{"TARN! Benachrichtigungstest"});
    ::unsetenv("TARN_SNMP_NAME_SUFFIX");
    ::unsetenv("TARN_SMS_TIME_SCALE");
}

// A send waits for the send in progress.
TEST_F(ChannelEvents, SendsWaitForTheSendLock) {
    CNotificationChannels& channels = Channels();
    std::unique_lock held(m_sendLock);
    std::atomic<bool> finished{false};
    std::thread sender([&] {
        channels.SendPrinterNotification(MakeJob(), true);
        finished = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(finished);
    EXPECT_TRUE(m_recordingPrinter.documents.empty());
    held.unlock();
    sender.join();
    EXPECT_TRUE(finished);
}

} // namespace

namespace {

// The engine's factory: the mail library comes from the program directory
// (the test program's has none) and a console without a gateway link sends no
// Internet mail.
TEST_F(ChannelEvents, TheConsoleFactoryMakesChannelsWithoutAGateway) {
    std::unique_ptr<INotificationChannels> channels =
        MakeConsoleChannelFactory(nullptr, m_recordingPrinter)(*m_recorder, m_sendLock, m_caches);
    ASSERT_NE(channels, nullptr);
    const NotificationJob job = MakeJob();
    EXPECT_EQ(channels->SendSmtpNotification(job, false), 2);
    EXPECT_EQ(channels->SendMsMailNotification(job, false), 2);
    EXPECT_EQ(channels->SendPrinterNotification(job, false), 1);
    const auto events = Events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_NE(
        events[0].EVENT_DESCRIPTION.find("Ergebnis: Die übergebenen Parameter sind unvollständig"),
        std::string::npos);
    EXPECT_NE(
        events[1].EVENT_DESCRIPTION.find("Ergebnis: Die Benachrichtigungskomponente konnte nicht"),
        std::string::npos);
    EXPECT_EQ(m_recordingPrinter.documents.size(), 1u);
}

} // namespace
