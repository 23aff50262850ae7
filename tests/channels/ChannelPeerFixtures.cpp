#include "ChannelPeerFixtures.h"

#include <cstdlib>

void SmsChannelFixture::SetUp() {
    ChannelTest::SetUp();
    ::setenv("TARN_SMS_TIME_SCALE", "0.1", 1);
    m_modem = std::make_unique<CModemSimulator>(SimCentreKind::Ucp);
    std::string error;
    if (!m_modem->Start(error))
        GTEST_SKIP() << "the modem simulator cannot start: " << error;
    WriteRegistry(
        "[SOFTWARE\\velda\\TARN!]\nDebugLevel=0\n[SOFTWARE\\velda\\TARN!\\Modems]\nLine0=" +
        m_modem->DevicePath() + "\nCOM3=" + m_modem->DevicePath() + "\n");
    ChangeServices([](DBNotifySrvConfig& s) {
        s.FAX_COM_PORT = 3;
        s.SMS_DIAL_PREFIX = "0";
        s.SMS_GATEWAY_D2 = "01722278010";
        s.SMS_GATEWAY_D1 = "01712521002";
    });
}

void SmsChannelFixture::TearDown() {
    m_modem.reset();
    ::unsetenv("TARN_SMS_TIME_SCALE");
    ChannelTest::TearDown();
}

void SmtpChannelFixture::SetUp() {
    ChannelTest::SetUp();
    if (m_server.Port() == 0)
        GTEST_SKIP() << "the loopback SMTP server (/usr/bin/python3 with aiosmtpd) did not start";
    ChangeServices([&](DBNotifySrvConfig& s) {
        s.SMTP_MAILSERVER = m_server.Address();
        s.SMTP_SENDER = "tarn@example.org";
    });
}
