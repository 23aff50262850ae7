// Mail through the gateway to a real SMTP server on loopback, and the gateway's
// parsing of server and address texts.
#include "GatewayLink.h"
#include "GatewayTestSupport.h"
#include "SmtpSender.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

class GatewayMailTest : public ::testing::Test {
protected:
    CTestRuntimeDir runtime;
    CGatewayLink link{GatewayProgram()};
    CSmtpTestServer server;

    void SetUp() override {
        if (server.Port() == 0)
            GTEST_SKIP()
                << "the loopback SMTP server (/usr/bin/python3 with aiosmtpd) did not start";
    }
};

struct MailCase {
    const char* name;
    std::string subject;
    std::string body;
    std::string stored; // the message as the server stores it
};

void PrintTo(const MailCase& mail, std::ostream* out) {
    *out << mail.name;
}

class GatewayMailContentTest : public GatewayMailTest,
                               public ::testing::WithParamInterface<MailCase> {};

const std::string kHeaders = "From: alarm@tarn.example\r\nTo: admin@example.org\r\n";

TEST_P(GatewayMailContentTest, ServerStoresTheMessageByteForByte) {
    const MailCase& mail = GetParam();
    EXPECT_EQ(link.SendMail("alarm@tarn.example", server.Address(), mail.subject, mail.body,
                            "admin@example.org"),
              GATEWAY_MAIL_SENT);
    const auto messages = server.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], mail.stored);
    EXPECT_EQ(server.Envelopes().at(0), "alarm@tarn.example\nadmin@example.org\n");
}

const std::string k511(511, 'x');

INSTANTIATE_TEST_SUITE_P(
    Messages, GatewayMailContentTest,
    ::testing::Values(
        // SMTP ends the last line with CR LF when the text does not.
        MailCase{"Plain", "TARN! Benachrichtigung", "Dienst gestoppt",
                 kHeaders + "Subject: TARN! Benachrichtigung\r\n\r\nDienst gestoppt\r\n"},
        MailCase{"EmptySubjectAndBody", "", "", kHeaders + "Subject: \r\n\r\n"},
        MailCase{"BareLineFeedsBecomeCrLf", "S", "eins\nzwei\r\ndrei\n\n",
                 kHeaders + "Subject: S\r\n\r\neins\r\nzwei\r\ndrei\r\n\r\n"},
        // Dots at line starts survive the transparency of the DATA phase.
        MailCase{"LinesBeginningWithDots", "S", ".erste\n.\n..zwei\nletzte .",
                 kHeaders + "Subject: S\r\n\r\n.erste\r\n.\r\n..zwei\r\nletzte .\r\n"},
        MailCase{"Umlauts", "Störung", "Prüfung fehlgeschlagen",
                 kHeaders + "Subject: Störung\r\n\r\nPrüfung fehlgeschlagen\r\n"},
        MailCase{"BodyOf511Characters", "S", k511, kHeaders + "Subject: S\r\n\r\n" + k511 + "\r\n"},
        MailCase{"LongerBodyIsCutTo511", "S", k511 + "abc",
                 kHeaders + "Subject: S\r\n\r\n" + k511 + "\r\n"},
        MailCase{"LineBreakInSubjectStartsNoHeader", "a\nBcc: x@example.org", "b",
                 kHeaders + "Subject: a Bcc: x@example.org\r\n\r\nb\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GatewayMailTest, EnvelopeTakesTheAddressInsideAngleBrackets) {
    EXPECT_EQ(link.SendMail("TARN Alarm <alarm@tarn.example>", server.Address(), "S", "B",
                            "<admin@example.org>"),
              GATEWAY_MAIL_SENT);
    ASSERT_EQ(server.Messages().size(), 1u);
    EXPECT_EQ(server.Messages()[0],
              "From: TARN Alarm <alarm@tarn.example>\r\nTo: <admin@example.org>\r\n"
              "Subject: S\r\n\r\nB\r\n");
    EXPECT_EQ(server.Envelopes()[0], "alarm@tarn.example\nadmin@example.org\n");
}

TEST_F(GatewayMailTest, RefusedSenderRecipientOrTextAnswersThree) {
    EXPECT_EQ(
        link.SendMail("refused@tarn.example", server.Address(), "S", "B", "admin@example.org"),
        GATEWAY_MAIL_REFUSED);
    EXPECT_EQ(
        link.SendMail("alarm@tarn.example", server.Address(), "S", "B", "unknown@example.org"),
        GATEWAY_MAIL_REFUSED);
    EXPECT_EQ(link.SendMail("alarm@tarn.example", server.Address(), "S", "REJECT-THIS",
                            "admin@example.org"),
              GATEWAY_MAIL_REFUSED);
    EXPECT_TRUE(server.Messages().empty());
    // The server still takes a good mail afterwards.
    EXPECT_EQ(link.SendMail("alarm@tarn.example", server.Address(), "S", "B", "admin@example.org"),
              GATEWAY_MAIL_SENT);
    EXPECT_EQ(server.Messages().size(), 1u);
}

TEST_F(GatewayMailTest, MissingSenderServerOrRecipientAnswersOneAndOpensNothing) {
    // A listener that only records whether anybody connected.
    unsigned port = 0;
    const int listener = LoopbackListener(port);
    ASSERT_GE(listener, 0);
    const std::string watched = "127.0.0.1:" + std::to_string(port);

    EXPECT_EQ(link.SendMail("", watched, "S", "B", "admin@example.org"), GATEWAY_MAIL_INCOMPLETE);
    EXPECT_EQ(link.SendMail("alarm@tarn.example", "", "S", "B", "admin@example.org"),
              GATEWAY_MAIL_INCOMPLETE);
    EXPECT_EQ(link.SendMail("alarm@tarn.example", watched, "S", "B", ""), GATEWAY_MAIL_INCOMPLETE);
    pollfd pfd{listener, POLLIN, 0};
    EXPECT_EQ(::poll(&pfd, 1, 0), 0) << "the gateway connected to the server";
    ::close(listener);
}

// A line break in an envelope address would end MAIL FROM or RCPT TO and
// start a command of its own (a second recipient, DATA).
TEST_F(GatewayMailTest, LineBreakInAnEnvelopeAddressIsRefusedBeforeConnecting) {
    unsigned port = 0;
    const int listener = LoopbackListener(port);
    ASSERT_GE(listener, 0);
    const std::string watched = "127.0.0.1:" + std::to_string(port);

    EXPECT_EQ(link.SendMail("alarm@tarn.example>\r\nRCPT TO:<victim@example.org", watched, "S", "B",
                            "admin@example.org"),
              GATEWAY_MAIL_INCOMPLETE);
    EXPECT_EQ(
        link.SendMail("alarm@tarn.example", watched, "S", "B", "Admin <admin@example.org\nDATA>"),
        GATEWAY_MAIL_INCOMPLETE);
    pollfd pfd{listener, POLLIN, 0};
    EXPECT_EQ(::poll(&pfd, 1, 0), 0) << "the gateway connected to the server";
    ::close(listener);
}

TEST_F(GatewayMailTest, NoServerListeningAnswersTwo) {
    EXPECT_EQ(link.SendMail("alarm@tarn.example", "127.0.0.1:" + std::to_string(FreeLoopbackPort()),
                            "S", "B", "admin@example.org"),
              GATEWAY_MAIL_NO_CONNECTION);
}

TEST_F(GatewayMailTest, RefusingGreetingAnswersTwo) {
    unsigned port = 0;
    const int listener = LoopbackListener(port);
    ASSERT_GE(listener, 0);
    std::thread refuser([listener] {
        const int connection = ::accept(listener, nullptr, nullptr);
        const char greeting[] = "554 5.3.2 No service here\r\n";
        ::send(connection, greeting, sizeof greeting - 1, MSG_NOSIGNAL);
        char drain[512];
        while (::recv(connection, drain, sizeof drain, 0) > 0) {
        }
        ::close(connection);
    });
    EXPECT_EQ(link.SendMail("alarm@tarn.example", "127.0.0.1:" + std::to_string(port), "S", "B",
                            "admin@example.org"),
              GATEWAY_MAIL_NO_CONNECTION);
    refuser.join();
    ::close(listener);
}

TEST_F(GatewayMailTest, PingsAndMailsFromTwoThreadsKeepTheirFields) {
    int32_t pingAnswers[4];
    std::thread pinger([&] {
        for (auto& answer : pingAnswers)
            answer = link.Ping("127.0.0.1", 1000);
    });
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(link.SendMail("alarm@tarn.example", server.Address(), "Nr " + std::to_string(i),
                                "Text " + std::to_string(i), "admin@example.org"),
                  GATEWAY_MAIL_SENT);
    pinger.join();
    for (int32_t answer : pingAnswers)
        EXPECT_TRUE(answer == GATEWAY_PING_REPLY || answer == GATEWAY_PING_NO_SOCKET) << answer;
    const auto messages = server.Messages();
    ASSERT_EQ(messages.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(messages[i], kHeaders + "Subject: Nr " + std::to_string(i) + "\r\n\r\nText " +
                                   std::to_string(i) + "\r\n");
}

TEST(SmtpServerText, HostAndPortAreSplit) {
    struct Case {
        std::string text;
        bool valid;
        std::string host;
        unsigned port;
    } cases[] = {
        {"mail.example.org", true, "mail.example.org", 25},
        {" mail.example.org:2525 ", true, "mail.example.org", 2525},
        {"192.0.2.7:587", true, "192.0.2.7", 587},
        {"::1", true, "::1", 25},
        {"[::1]:2525", true, "::1", 2525},
        {"[::1]", true, "::1", 25},
        {"host:", false, "", 0},
        {"host:0", false, "", 0},
        {"host:70000", false, "", 0},
        {"host:25x", false, "", 0},
        {":25", false, "", 0},
        {"[::1", false, "", 0},
        {"   ", false, "", 0},
    };
    for (const auto& c : cases) {
        std::string host;
        unsigned port = 0;
        ASSERT_EQ(CSmtpSender::SplitServer(c.text, host, port), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(host, c.host) << c.text;
            EXPECT_EQ(port, c.port) << c.text;
        }
    }
}

TEST(SmtpServerText, EnvelopeAddress) {
    EXPECT_EQ(CSmtpSender::EnvelopeAddress("a@b.example"), "a@b.example");
    EXPECT_EQ(CSmtpSender::EnvelopeAddress(" a@b.example "), "a@b.example");
    EXPECT_EQ(CSmtpSender::EnvelopeAddress("Name <a@b.example>"), "a@b.example");
    EXPECT_EQ(CSmtpSender::EnvelopeAddress("<a@b.example>"), "a@b.example");
}

// The gateway serves requests side by side and the link holds no lock across
// an exchange: a mail server that takes seconds does not hold up a ping.
TEST(GatewayConcurrency, SlowMailServerDoesNotDelayAPing) {
    using namespace std::chrono_literals;
    using Clock = std::chrono::steady_clock;
    CTestRuntimeDir runtime;
    CGatewayLink link{GatewayProgram()};
    if (link.Ping("127.0.0.1", 2000) != GATEWAY_PING_REPLY)
        GTEST_SKIP() << "no ICMP socket: needs root, CAP_NET_RAW or net.ipv4.ping_group_range";
    constexpr auto kDelay = 5s;
    CSmtpTestServer server({"--data-delay", std::to_string(kDelay.count())});
    if (server.Port() == 0)
        GTEST_SKIP() << "the loopback SMTP server (/usr/bin/python3 with aiosmtpd) did not start";

    const auto start = Clock::now();
    std::future<int32_t> mail = std::async(std::launch::async, [&] {
        return link.SendMail("alarm@tarn.example", server.Address(), "S", "B", "admin@example.org");
    });
    std::this_thread::sleep_for(1s); // the mail is waiting for the server by now
    const auto pingStart = Clock::now();
    EXPECT_EQ(link.Ping("127.0.0.1", 2000), GATEWAY_PING_REPLY);
    EXPECT_LT(Clock::now() - pingStart, 1s);
    ASSERT_EQ(mail.wait_for(0s), std::future_status::timeout)
        << "the mail was done before the ping: the server was not slow";
    EXPECT_EQ(mail.get(), GATEWAY_MAIL_SENT);
    EXPECT_GE(Clock::now() - start, kDelay);
    EXPECT_EQ(server.Messages().size(), 1u);
}

} // namespace
