// One notification with all six channels active, dispatched by the engine's
// dispatch through the real channels and their peers: the simulated modem,
// the mail library, the gateway with a loopback SMTP server, the SNMP agent
// library's hand-off, and a recording print path for printer and fax.
#include "../gateway/GatewayTestSupport.h"
#include "../sendmail/MailTestSupport.h"
#include "ChannelTestSupport.h"

#include "ModemSimulator.h"
#include "NotificationDispatcher.h"
#include "tarn/SnmpExtension.h"
#include "tarn/TARNMemStruct.h"

#include <semaphore.h>

namespace {

class DispatchThroughChannels : public ChannelTest {
protected:
    void SetUp() override {
        ChannelTest::SetUp();
        if (m_smtp.Port() == 0)
            GTEST_SKIP()
                << "the loopback SMTP server (/usr/bin/python3 with aiosmtpd) did not start";
        std::string error;
        if (!m_modem.Start(error))
            GTEST_SKIP() << "the modem simulator cannot start: " << error;
        ::setenv("TARN_SMS_TIME_SCALE", "0.1", 1);
        const std::string suffix = "_chd" + std::to_string(::getpid());
        ::setenv(TARN_SNMP_NAME_SUFFIX_ENV, suffix.c_str(), 1);
        AsnObjectIdentifier view{0, nullptr};
        ASSERT_EQ(SnmpExtensionInit(SnmpUtilTickCount(), &m_trapEvent, &view), 1);
        WriteRegistry("[SOFTWARE\\velda\\TARN!\\Modems]\nLine0=" + m_modem.DevicePath() + "\n");
        ChangeServices([&](DBNotifySrvConfig& s) {
            s.SMS_GATEWAY_D2 = "01722278010";
            s.SMS_RETRIES = 3;
            s.MSMAIL_LOGON_PROFILE = "Monitor";
            s.MSMAIL_LOGON_PROFILE_PASSWORD = "secret";
            s.SMTP_MAILSERVER = m_smtp.Address();
            s.SMTP_SENDER = "tarn@example.org";
        });
    }
    void TearDown() override {
        SnmpExtensionClose();
        ::unsetenv(TARN_SNMP_NAME_SUFFIX_ENV);
        ::unsetenv("TARN_SMS_TIME_SCALE");
        ChannelTest::TearDown();
    }

    CTestRuntimeDir m_runtime;
    CSmtpTestServer m_smtp;
    CMailTestSystem m_mailSystem;
    CModemSimulator m_modem{SimCentreKind::Ucp};
    sem_t* m_trapEvent = nullptr;
};

TEST_F(DispatchThroughChannels, EveryActiveChannelSendsOnceAndRecordsItsEvent) {
    NotificationJob job = MakeJob();
    DBNotification& n = job.Notification;
    n.SMS_ACTIVE = n.MSMAIL_ACTIVE = n.FAX_ACTIVE = n.PRINTER_ACTIVE = n.SMTP_ACTIVE =
        n.SNMP_ACTIVE = true;
    n.MSMail.RECIPIENTS = "Bob";
    CNotificationDispatcher dispatcher(Channels(), m_caches);
    dispatcher.DispatchNotification(job);

    for (int channel = 0; channel < CHANNEL_COUNT; ++channel) {
        EXPECT_EQ(job.Channels[channel].LastResult, 1) << "channel " << channel;
        EXPECT_TRUE(job.Channels[channel].Done) << "channel " << channel;
    }
    EXPECT_TRUE(IsJobComplete(job));
    EXPECT_EQ(m_modem.DialledNumbers().size(), 1u);
    EXPECT_EQ(m_mailSystem.Sent().size(), 1u);
    EXPECT_EQ(m_smtp.Messages().size(), 1u);
    EXPECT_EQ(m_recordingPrinter.documents.size(), 2u) << "the fax and the printer";
    EXPECT_EQ(sem_trywait(m_trapEvent), 0) << "one trap handed over";

    const auto events = Events();
    ASSERT_EQ(events.size(), 6u);
    const char* const sentences[] = {"SMS Benachrichtigung",           "MS-Mail Benachrichtigung",
                                     "Fax Benachrichtigung",           "Drucker Benachrichtigung",
                                     "Internet-Mail Benachrichtigung", "SNMP Benachrichtigung"};
    for (int channel = 0; channel < CHANNEL_COUNT; ++channel)
        EXPECT_EQ(events[channel].EVENT_DESCRIPTION.rfind(sentences[channel], 0), 0u)
            << "events in channel order: " << events[channel].EVENT_DESCRIPTION;
}

TEST_F(DispatchThroughChannels, ABusyCentreLeavesTheSmsPendingForARetry) {
    m_modem.SetDialOutcome(SimDialOutcome::Busy);
    NotificationJob job = MakeJob();
    job.Notification.SMS_ACTIVE = true;
    CNotificationDispatcher dispatcher(Channels(), m_caches);
    dispatcher.DispatchNotification(job);
    const ChannelState& sms = job.Channels[CHANNEL_SMS];
    EXPECT_EQ(sms.LastResult, 1000);
    EXPECT_EQ(sms.Attempts, 1);
    EXPECT_FALSE(sms.Done) << "tried again, up to RETRIES attempts";
    EXPECT_FALSE(IsJobComplete(job));
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_NE(Events()[0].EVENT_DESCRIPTION.find(
                  "Ergebnis: Es konnte keine Verbindung zum SMS Gateway hergestellt werden"),
              std::string::npos);
}

} // namespace
