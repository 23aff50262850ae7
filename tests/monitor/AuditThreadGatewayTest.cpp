// The network audition through the real gateway program on loopback.
#include "AuditThreadFixture.h"
#include "GatewayPinger.h"

#include "../gateway/GatewayTestSupport.h"
#include "StringTable.h"

namespace {

// Passes pings to the gateway and keeps the answers.
class RecordingGatewayPinger : public IPinger {
public:
    explicit RecordingGatewayPinger(CGatewayLink& link) : m_gateway(link) {}
    int32_t Ping(const std::string& host, uint32_t timeoutMs) override {
        answers.push_back(m_gateway.Ping(host, timeoutMs));
        return answers.back();
    }
    std::vector<int32_t> answers;

private:
    CGatewayPinger m_gateway;
};

class AuditThreadGatewayTest : public AuditThreadFixture {
protected:
    CTestRuntimeDir m_runtime;
};

TEST_F(AuditThreadGatewayTest, LoopbackAnswersAndNothingIsSignalled) {
    CGatewayLink link(GatewayProgram());
    RecordingGatewayPinger pinger(link);
    CAuditThread thread(m_host, m_list, m_agents, pinger, m_stop, Options());
    AddStarted(Net(1, "localhost", "127.0.0.1", 1, 2));
    thread.RunPass();
    ASSERT_EQ(pinger.answers.size(), 1u);
    if (pinger.answers[0] == GATEWAY_PING_NO_SOCKET)
        GTEST_SKIP() << "no ICMP socket: needs root, CAP_NET_RAW or net.ipv4.ping_group_range";
    EXPECT_EQ(pinger.answers[0], GATEWAY_PING_REPLY);
    const AuditionEntry entry = Entry(1);
    EXPECT_TRUE(entry.Running);
    EXPECT_EQ(entry.PingFailures, 0);
    EXPECT_EQ(entry.NextPing, m_now + 60);
    EXPECT_TRUE(m_host.errors.empty());
    link.Quit();
}

TEST_F(AuditThreadGatewayTest, GatewayThatCannotBeStartedStopsTheAudition) {
    CGatewayLink link(m_runtime.Path() + "missing/TARN_Gateway");
    RecordingGatewayPinger pinger(link);
    CAuditThread thread(m_host, m_list, m_agents, pinger, m_stop, Options());
    AddStarted(Net(1, "gamma", "127.0.0.1", 1, 1));
    m_host.lines.clear();
    thread.RunPass();
    EXPECT_EQ(pinger.answers, std::vector<int32_t>{PING_ANSWER_NO_GATEWAY});
    EXPECT_FALSE(Entry(1).Running);
    EXPECT_TRUE(m_host.errors.empty());
    ASSERT_EQ(m_host.lines.size(), 2u);
    EXPECT_EQ(m_host.lines[0].kind, EVENT_VIEW_ERROR);
    EXPECT_EQ(m_host.lines[0].text, LoadTarnString(1135));
    EXPECT_EQ(m_host.lines[1].text, LoadTarnString(1117));
}

} // namespace
