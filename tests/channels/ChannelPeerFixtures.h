// Channel tests with a real peer: the SMS library on a simulated modem and
// centre, and the gateway with a loopback SMTP server. Shared by the channel
// tests and the desktop console's test buttons.
#pragma once

#include "../gateway/GatewayTestSupport.h"
#include "ChannelTestSupport.h"

#include "ModemSimulator.h"

#include <memory>

// A modem simulator on a pseudo-terminal that is both the SMS library's line
// and the fax settings' COM port 3; the D1 and D2 centres are set.
class SmsChannelFixture : public ChannelTest {
protected:
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<CModemSimulator> m_modem;
};

// The gateway started by the console's link, and a loopback SMTP server that
// is the configured mail server ("tarn@example.org" the sender).
class SmtpChannelFixture : public ChannelTest {
protected:
    void SetUp() override;
    CTestRuntimeDir m_runtime;
    CSmtpTestServer m_server;
};
