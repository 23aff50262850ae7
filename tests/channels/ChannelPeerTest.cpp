// Each channel through its real peer: the SMS library on a simulated modem and
// centre, the mail library with a stand-in submission command, the gateway
// with a loopback SMTP server, and the SNMP agent library's trap hand-off.
#include "../sendmail/MailTestSupport.h"
#include "ChannelPeerFixtures.h"

#include "NotificationText.h"
#include "TARNTool.h"
#include "tarn/SnmpExtension.h"
#include "tarn/TARNMemStruct.h"

#include <algorithm>
#include <semaphore.h>

namespace {

const std::string kOccurred = "Das Problem trat zum ersten Mal auf.";
std::string Hex(const std::string& text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : text) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

const std::string kSmsSentence =
    "SMS Benachrichtigung <Bereitschaft> an <0172-1234567> durchgeführt.";

class SmsChannel : public SmsChannelFixture {
protected:
    std::string OnlyEventText() {
        const auto events = Events();
        EXPECT_EQ(events.size(), 1u);
        return events.empty() ? "" : events[0].EVENT_DESCRIPTION;
    }
};

TEST_F(SmsChannel, A0172NumberWithHyphenGoesToD2AndTheEventShowsItAsConfigured) {
    const NotificationJob job = MakeJob();
    EXPECT_EQ(Channels().SendSmsNotification(job, false), 1);
    EXPECT_EQ(m_modem->DialledNumbers(), std::vector<std::string>{"001722278010"});
    const auto units = m_modem->Units();
    ASSERT_EQ(units.size(), 1u);
    EXPECT_NE(units[0].bytes.find("/O/51/01721234567/TARN/"), std::string::npos) << units[0].bytes;
    EXPECT_EQ(OnlyEventText(),
              ExpectedEventText(kSmsSentence, kOccurred, "SMS Nachricht erfolgreich abgeschickt."));
    EXPECT_EQ(m_view.Lines().at(0).kind, EVENT_VIEW_INFO);
}

TEST_F(SmsChannel, AnUnknownNumberGives1010AndIsNotRetried) {
    NotificationJob job = MakeJob();
    job.Notification.SMS.RECIPIENT = "0999-77";
    EXPECT_EQ(Channels().SendSmsNotification(job, false), 2);
    EXPECT_TRUE(m_modem->DialledNumbers().empty());
    EXPECT_EQ(OnlyEventText(),
              ExpectedEventText("SMS Benachrichtigung <Bereitschaft> an <0999-77> durchgeführt.",
                                kOccurred, "Es konnte kein Dienst zugeordnet werden"));
}

TEST_F(SmsChannel, ABusyCentreGives1007AndResult1000) {
    m_modem->SetDialOutcome(SimDialOutcome::Busy);
    EXPECT_EQ(Channels().SendSmsNotification(MakeJob(), false), 1000);
    EXPECT_FALSE(m_modem->DialledNumbers().empty());
    EXPECT_EQ(OnlyEventText(),
              ExpectedEventText(kSmsSentence, kOccurred,
                                "Es konnte keine Verbindung zum SMS Gateway hergestellt werden"));
    EXPECT_EQ(m_view.Lines().at(0).kind, EVENT_VIEW_ERROR);
}

TEST_F(SmsChannel, TestModeSendsTheTestText) {
    EXPECT_EQ(Channels().SendSmsNotification(MakeJob(), true), 1);
    ASSERT_EQ(m_modem->Units().size(), 1u);
    // The frame carries the text as hexadecimal digits.
    EXPECT_NE(m_modem->Units()[0].bytes.find("/" + Hex("TARN! Benachrichtigungstest") + "/"),
              std::string::npos)
        << m_modem->Units()[0].bytes;
    EXPECT_TRUE(Events().empty());
}

TEST_F(SmsChannel, APortThatDoesNotOpenIsIgnored) {
    ChangeServices([](DBNotifySrvConfig& s) { s.FAX_COM_PORT = 9; });
    WriteRegistry("[SOFTWARE\\velda\\TARN!\\Modems]\nLine0=" + m_modem->DevicePath() +
                  "\nCOM9=" + m_dir + "no-such-port\n");
    EXPECT_EQ(Channels().SendSmsNotification(MakeJob(), false), 1);
    const auto commands = m_modem->Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "ATZ"), 1)
        << "only the library's own reset";
}

// The reset alone: the SMS library's line is a device without a modem, so only
// the console's reset reaches the simulator on COM port 3.
TEST_F(SmsChannel, TheResetGoesToTheFaxSettingsComPort) {
    WriteRegistry("[SOFTWARE\\velda\\TARN!\\Modems]\nLine0=" + m_dir +
                  "no-modem\nCOM3=" + m_modem->DevicePath() + "\n");
    EXPECT_EQ(Channels().SendSmsNotification(MakeJob(), false), 1000);
    ASSERT_TRUE(m_modem->WaitForCloses(1, std::chrono::seconds(10)));
    EXPECT_EQ(m_modem->Commands(), std::vector<std::string>{"ATZ"});
    EXPECT_EQ(OnlyEventText(),
              ExpectedEventText(
                  kSmsSentence, kOccurred,
                  "Das Modem konnte nicht initialisiert werden. Bitte überprüfen Sie, ob das Modem "
                  "angeschaltet ist."));
}

// The mail system of the mail library's tests, with the profile "Monitor".
class MailChannel : public ChannelTest {
protected:
    void SetUp() override {
        ChannelTest::SetUp();
        ChangeServices([](DBNotifySrvConfig& s) {
            s.MSMAIL_LOGON_PROFILE = "Monitor";
            s.MSMAIL_LOGON_PROFILE_PASSWORD = "secret";
        });
    }
    CMailTestSystem m_mailSystem;
};

TEST_F(MailChannel, TheMessageReachesTheSubmissionCommand) {
    NotificationJob job = MakeJob();
    job.Notification.MSMail.RECIPIENTS = "Alice Example;Bob";
    EXPECT_EQ(Channels().SendMsMailNotification(job, false), 1);
    const auto sent = m_mailSystem.Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_NE(sent[0].find("Subject: TARN! Benachrichtigung"), std::string::npos) << sent[0];
    EXPECT_NE(sent[0].find("alice@example.org"), std::string::npos);
    EXPECT_NE(sent[0].find("bob@example.org"), std::string::npos);
    EXPECT_NE(sent[0].find("Bitte sofort pruefen."), std::string::npos);
    EXPECT_EQ(Events().at(0).EVENT_DESCRIPTION,
              ExpectedEventText(
                  "MS-Mail Benachrichtigung <Bereitschaft> an <Alice Example;Bob> durchgeführt.",
                  kOccurred, "Die Nachricht(en) wurde(n) erfolgreich abgeschickt."))
        << "the recipients as configured, not as the library cut them";
}

struct MailFailure {
    const char* name;
    std::string password;
    std::string recipients;
    std::string resultText;
};

class MailChannelFailure : public MailChannel, public ::testing::WithParamInterface<MailFailure> {};

TEST_P(MailChannelFailure, GivesItsResultText) {
    const MailFailure& failure = GetParam();
    ChangeServices(
        [&](DBNotifySrvConfig& s) { s.MSMAIL_LOGON_PROFILE_PASSWORD = failure.password; });
    NotificationJob job = MakeJob();
    job.Notification.MSMail.RECIPIENTS = failure.recipients;
    EXPECT_EQ(Channels().SendMsMailNotification(job, false), 2);
    EXPECT_TRUE(m_mailSystem.Sent().empty());
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].EVENT_DESCRIPTION,
              ExpectedEventText("MS-Mail Benachrichtigung <Bereitschaft> an <" +
                                    failure.recipients + "> durchgeführt.",
                                kOccurred, failure.resultText));
}

INSTANTIATE_TEST_SUITE_P(
    Results, MailChannelFailure,
    ::testing::Values(
        MailFailure{"WrongPassword", "falsch", "Bob",
                    "Das Anmelden im MAIL System ist fehlgeschlagen."},
        MailFailure{"UnknownRecipient", "secret", "Niemand",
                    "Das Absenden der Nachricht konnte nicht durchgeführt werden. Bitte überprüfen "
                    "Sie die Empfängerliste."}),
    [](const auto& info) { return std::string(info.param.name); });

using SmtpChannel = SmtpChannelFixture;

std::string BodyOf(std::string message) {
    message.erase(std::remove(message.begin(), message.end(), '\r'), message.end());
    const size_t end = message.find("\n\n");
    return end == std::string::npos ? "" : message.substr(end + 2);
}

TEST_F(SmtpChannel, TheStoredBodyBeginsWithTheMailTextAndTheLongText) {
    const NotificationJob job = MakeJob();
    EXPECT_EQ(Channels().SendSmtpNotification(job, false), 1);
    const auto messages = m_server.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Subject: TARN! Benachrichtigung"), std::string::npos);
    const std::string expected = "Bitte sofort pruefen.\n" + ComposeNotificationText(job);
    EXPECT_EQ(BodyOf(messages[0]).substr(0, expected.size()), expected);
    EXPECT_EQ(m_server.Envelopes().at(0), "tarn@example.org\noncall@example.org\n");
    EXPECT_EQ(
        Events().at(0).EVENT_DESCRIPTION,
        ExpectedEventText(
            "Internet-Mail Benachrichtigung <Bereitschaft> an <oncall@example.org> durchgeführt.",
            kOccurred, "Die Nachricht wurde erfolgreich abgeschickt."));
}

TEST_F(SmtpChannel, NoServerGives1024) {
    ChangeServices([](DBNotifySrvConfig& s) {
        s.SMTP_MAILSERVER = "127.0.0.1:" + std::to_string(FreeLoopbackPort());
    });
    EXPECT_EQ(Channels().SendSmtpNotification(MakeJob(), false), 2);
    EXPECT_EQ(
        Events().at(0).EVENT_DESCRIPTION,
        ExpectedEventText(
            "Internet-Mail Benachrichtigung <Bereitschaft> an <oncall@example.org> durchgeführt.",
            kOccurred, "Es konnte keine Verbindung zum Mail Server hergestellt werden"));
}

TEST_F(SmtpChannel, TestModeSendsOnlyTheTestText) {
    EXPECT_EQ(Channels().SendSmtpNotification(MakeJob(), true), 1);
    ASSERT_EQ(m_server.Messages().size(), 1u);
    EXPECT_EQ(BodyOf(m_server.Messages()[0]), "TARN! Benachrichtigungstest\n");
    EXPECT_TRUE(Events().empty());
}

// The agent side of the trap hand-off in this process, under names of its own.
class SnmpChannel : public ChannelTest {
protected:
    void SetUp() override {
        ChannelTest::SetUp();
        const std::string suffix = "_chn" + std::to_string(::getpid()) + "_" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ::setenv(TARN_SNMP_NAME_SUFFIX_ENV, suffix.c_str(), 1);
        AsnObjectIdentifier view{0, nullptr};
        ASSERT_EQ(SnmpExtensionInit(SnmpUtilTickCount(), &m_trapEvent, &view), 1);
    }
    void TearDown() override {
        SnmpExtensionClose();
        ::unsetenv(TARN_SNMP_NAME_SUFFIX_ENV);
        ChannelTest::TearDown();
    }
    sem_t* m_trapEvent = nullptr;
};

TEST_F(SnmpChannel, AResolvedProblemSendsTheResolvedTrapNumber) {
    const NotificationJob job = MakeJob(NOTIFY_STAGE_RESOLVED);
    EXPECT_EQ(Channels().SendSnmpNotification(job, false), 1);
    AsnObjectIdentifier enterprise{0, nullptr};
    AsnInteger32 generic = 0, specific = 0;
    AsnTimeticks stamp = 0;
    SnmpVarBindList bindings{nullptr, 0};
    ASSERT_TRUE(SnmpExtensionTrap(&enterprise, &generic, &specific, &stamp, &bindings));
    EXPECT_EQ(specific, 13);
    ASSERT_EQ(bindings.len, 1u);
    const AsnOctetString& text = bindings.list[0].value.asnValue.string;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.stream), text.length),
              ComposeShortText(job));
    EXPECT_EQ(Events().at(0).EVENT_DESCRIPTION,
              ExpectedEventText("SNMP Benachrichtigung <Bereitschaft> <Trap ID: 13> durchgeführt.",
                                "Das Problem konnte behoben werden.",
                                "Trap wurde erfolgreich abgeschickt."));
}

} // namespace
