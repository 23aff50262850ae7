// The network audition as the audition thread runs it, with a ping stand-in:
// three failed pings make one signal, the timing of the pings, the gateway
// that cannot be had.
#include "AuditThreadFixture.h"

#include "StringTable.h"

namespace {

constexpr int32_t kNoReply = 22715;
constexpr int kPassSeconds = 15;

class NetAuditionTest : public AuditThreadFixture {
protected:
    // One pass, then the clock moves on by one period.
    void Pass() {
        m_thread.RunPass();
        m_now += kPassSeconds;
    }
    size_t Pings() const { return m_pinger.requests.size(); }
};

TEST_F(NetAuditionTest, ThreeFailuresMakeOneSignalThenTheIntervalRuns) {
    AddStarted(Net(1, "gamma", "10.0.0.7", 2, 30));
    m_pinger.answers = {kNoReply, kNoReply, kNoReply};
    const std::time_t start = m_now;
    Pass();
    Pass();
    EXPECT_EQ(Entry(1).PingFailures, 2);
    EXPECT_TRUE(m_host.errors.empty());
    Pass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    const AuditionEntry& signalled = m_host.errors[0];
    EXPECT_EQ(signalled.Signal.EVENT_DESCRIPTION,
              "Der Rechner <gamma> reagiert nicht mehr (Fehlercode: 22715).");
    EXPECT_EQ(signalled.Signal.INFO_ID, "22715");
    EXPECT_EQ(signalled.Signal.COMPUTER, "gamma");
    EXPECT_EQ(signalled.Signal.SOURCE, 3);
    EXPECT_EQ(signalled.Signal.TYPE, 1);
    EXPECT_EQ(signalled.Signal.CATEGORY, 4);
    EXPECT_EQ(signalled.Signal.DATE, FormatTimeStamp(start + 2 * kPassSeconds));
    EXPECT_EQ(signalled.PingFailures, 0);
    EXPECT_EQ(signalled.NextPing, start + 2 * kPassSeconds + 2 * 60);
    ASSERT_EQ(Pings(), 3u);
    for (const FakePinger::Request& request : m_pinger.requests) {
        EXPECT_EQ(request.host, "10.0.0.7");
        EXPECT_EQ(request.timeoutMs, 30000u);
    }
    EXPECT_EQ(m_host.Texts(EVENT_VIEW_ERROR), std::vector<std::string>{LoadTarnString(1113)});

    // The next ping waits for the interval again.
    while (m_now < start + 2 * kPassSeconds + 2 * 60)
        Pass();
    EXPECT_EQ(Pings(), 3u);
    Pass();
    EXPECT_EQ(Pings(), 4u);
}

TEST_F(NetAuditionTest, SuccessDoesNotResetTheCount) {
    AddStarted(Net(1, "gamma", "10.0.0.7"));
    m_pinger.answers = {kNoReply, 0, kNoReply, kNoReply};
    for (int i = 0; i < 3; ++i)
        Pass();
    EXPECT_TRUE(m_host.errors.empty());
    EXPECT_EQ(Entry(1).PingFailures, 2);
    Pass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    EXPECT_EQ(Pings(), 4u); // one ping at every pass while failures are counted
}

TEST_F(NetAuditionTest, AnswersThatCountAsFailures) {
    struct AnswerCase {
        int32_t answer;
        bool failure;
    };
    const AnswerCase cases[] = {{kNoReply, true}, {22703, true}, {1, true},   {-2, true},
                                {0, false},       {-3, false},   {-99, false}};
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.answer);
        AuditionEntry entry;
        entry.Definition = Net(1, "gamma", "10.0.0.7");
        entry.Running = true;
        m_pinger.answers = {c.answer, c.answer, c.answer};
        for (int i = 0; i < 2; ++i)
            EXPECT_FALSE(m_thread.CheckEntry(entry));
        EXPECT_EQ(entry.PingFailures, c.failure ? 2 : 0);
        EXPECT_EQ(m_thread.CheckEntry(entry), c.failure);
        if (c.failure) {
            EXPECT_EQ(entry.Signal.INFO_ID, std::to_string(c.answer));
        }
        EXPECT_TRUE(entry.Running);
    }
}

TEST_F(NetAuditionTest, SignalCarriesTheThirdAnswer) {
    AddStarted(Net(1, "gamma", "10.0.0.7"));
    m_pinger.answers = {kNoReply, 22703, -2};
    for (int i = 0; i < 3; ++i)
        Pass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    EXPECT_EQ(m_host.errors[0].Signal.INFO_ID, "-2");
    EXPECT_EQ(m_host.errors[0].Signal.EVENT_DESCRIPTION,
              "Der Rechner <gamma> reagiert nicht mehr (Fehlercode: -2).");
}

TEST_F(NetAuditionTest, NoGatewayStopsTheAudition) {
    AddStarted(Net(1, "gamma", "10.0.0.7"));
    m_pinger.answers = {kNoReply, -1};
    Pass();
    m_host.lines.clear();
    Pass();
    EXPECT_TRUE(m_host.errors.empty());
    const AuditionEntry entry = Entry(1);
    EXPECT_FALSE(entry.Running);
    EXPECT_EQ(entry.PingFailures, 1);
    ASSERT_EQ(m_host.lines.size(), 2u);
    EXPECT_EQ(m_host.lines[0].kind, EVENT_VIEW_ERROR);
    EXPECT_EQ(m_host.lines[0].text, "Die TCP/IP Komponente konnte nicht initialisiert werden. "
                                    "Überwachung nicht möglich.");
    EXPECT_EQ(m_host.lines[0].computer, "gamma");
    EXPECT_EQ(m_host.lines[1].text, LoadTarnString(1117));
    Pass();
    EXPECT_EQ(Pings(), 2u);
}

TEST_F(NetAuditionTest, PingsAtStartThenAtTheInterval) {
    AddStarted(Net(1, "gamma", "10.0.0.7", 1));
    const std::time_t start = m_now;
    Pass();
    EXPECT_EQ(Pings(), 1u);
    EXPECT_EQ(Entry(1).NextPing, start + 60);
    while (m_now < start + 60)
        Pass();
    EXPECT_EQ(Pings(), 1u);
    Pass(); // exactly at start + 60
    EXPECT_EQ(Pings(), 2u);
}

TEST_F(NetAuditionTest, RestartPingsAtOnceAndForgetsFailures) {
    AddStarted(Net(1, "gamma", "10.0.0.7", 10));
    m_pinger.answers = {kNoReply};
    Pass();
    AuditionEntry entry = Entry(1);
    EXPECT_EQ(entry.PingFailures, 1);
    m_thread.StopAudition(entry, true);
    m_thread.StartAudition(entry);
    EXPECT_EQ(entry.PingFailures, 0);
    SetEntry(entry);
    Pass();
    EXPECT_EQ(Pings(), 2u);
    EXPECT_EQ(Entry(1).PingFailures, 0);
}

TEST(PingTimeout, SecondsBecomeMillisecondsWithinTheOfferedRange) {
    EXPECT_EQ(PingTimeoutMs(1), 1000u);
    EXPECT_EQ(PingTimeoutMs(30), 30000u);
    EXPECT_EQ(PingTimeoutMs(0), 1000u);
    EXPECT_EQ(PingTimeoutMs(-5), 1000u);
    EXPECT_EQ(PingTimeoutMs(100000), 30000u);
}

} // namespace
