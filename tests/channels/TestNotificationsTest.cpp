// The sheets' test notifications: each on a thread of its own through the
// real SMS channel on the simulated modem, and Close waiting for them.
#include "TestNotifications.h"
#include "ChannelPeerFixtures.h"

#include "../WaitFor.h"

#include <atomic>
#include <thread>

namespace {

class TestNotifications : public SmsChannelFixture {
protected:
    CTestNotifications m_tests;
    std::atomic<int32_t> m_result{-1};
    std::atomic<bool> m_otherThread{false};
    CTestNotifications::Done Record() {
        return [this, caller = std::this_thread::get_id()](int32_t result) {
            m_otherThread = std::this_thread::get_id() != caller;
            m_result = result;
        };
    }
};

TEST_F(TestNotifications, ATestSendsOnItsOwnThreadAndRecordsNothing) {
    m_tests.Open(Channels());
    m_tests.Start(CHANNEL_SMS, MakeJob(), Record());
    ASSERT_TRUE(WaitFor([this] { return m_result != -1; }, 30));
    EXPECT_EQ(m_result, 1);
    EXPECT_TRUE(m_otherThread);
    EXPECT_EQ(m_modem->Units().size(), 1u);
    EXPECT_TRUE(Events().empty());
}

TEST_F(TestNotifications, CloseWaitsForTheRunningTestAndRefusesLaterOnes) {
    m_modem->SetPieceDelay(std::chrono::milliseconds(100)); // a slow dial-up
    m_tests.Open(Channels());
    m_tests.Start(CHANNEL_SMS, MakeJob(), Record());
    m_tests.Close();
    EXPECT_EQ(m_result, 1) << "the test had ended when Close returned";

    m_result = -1;
    m_tests.Start(CHANNEL_SMS, MakeJob(), Record());
    EXPECT_EQ(m_result, 0);
    EXPECT_FALSE(m_otherThread) << "refused at once on the calling thread";
    EXPECT_EQ(m_modem->Units().size(), 1u);
}

} // namespace
