// The modem link's primitives against the simulated modem.
#include "SmsTestSupport.h"

#include "SmsModem.h"

#include <thread>

using namespace smstest;
using namespace std::chrono_literals;

namespace {

class ModemLink : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        if (!m_sim.Start(error)) {
            GTEST_SKIP() << "the modem simulator cannot start: " << error;
        }
        m_config.devices = {m_sim.DevicePath()};
    }

    CModemSimulator m_sim{SimCentreKind::Ucp};
    CSmsModemConfig m_config;
};

} // namespace

TEST_F(ModemLink, PrimitivesFailWhileNoCallIsEstablished) {
    CSmsModem modem(m_config, CSmsTiming(0.1));
    std::string answer = "old";
    EXPECT_FALSE(modem.ReadAll(answer));
    EXPECT_EQ(answer, "");
    EXPECT_FALSE(modem.Write("x"));
    EXPECT_FALSE(modem.WaitForInput(2000));
    m_sim.SetDialOutcome(SimDialOutcome::Busy);
    EXPECT_EQ(modem.Dial("1"), kSmsDialBusy);
    EXPECT_FALSE(modem.IsCallEstablished());
    EXPECT_FALSE(modem.Write("x"));
    EXPECT_TRUE(m_sim.WaitForCloses(1, 5s)) << "a busy line is released at once";
}

TEST_F(ModemLink, NoLineConfiguredFailsTheDial) {
    CSmsModem modem(CSmsModemConfig{}, CSmsTiming(0.1));
    EXPECT_EQ(modem.Dial("1"), kSmsDialFailed);
}

TEST_F(ModemLink, ALineHeldByAnotherDialUpIsNotShared) {
    CSmsModem first(m_config, CSmsTiming(0.1));
    CSmsModem second(m_config, CSmsTiming(0.1));
    ASSERT_EQ(first.Dial("1"), kSmsDialConnected);
    EXPECT_EQ(second.Dial("2"), kSmsDialFailed);
    EXPECT_EQ(m_sim.DialledNumbers(), std::vector<std::string>{"1"});
}

TEST_F(ModemLink, ReadAllStoresAtMost2048Bytes) {
    const std::string answer = STX + std::string(2998, 'a') + ETX;
    m_sim.QueueAnswer("frame", SimAnswer::Whole(answer));
    CSmsModem modem(m_config, CSmsTiming(0.1));
    ASSERT_EQ(modem.Dial("1"), kSmsDialConnected);
    std::string line;
    ASSERT_TRUE(modem.ReadAll(line)); // what is left of the CONNECT line
    ASSERT_TRUE(modem.Write(STX + "x" + ETX));
    ASSERT_TRUE(modem.WaitForInput(5000));
    // Let the whole answer arrive before reading.
    std::this_thread::sleep_for(300ms);
    std::string first;
    ASSERT_TRUE(modem.ReadAll(first));
    EXPECT_EQ(first, answer.substr(0, CSmsModem::kBufferSize));
    std::string rest;
    ASSERT_TRUE(modem.ReadAll(rest));
    EXPECT_EQ(rest, answer.substr(CSmsModem::kBufferSize));
}

TEST_F(ModemLink, WaitForInputBelowOneSecondLooksOnceWithoutSleeping) {
    CSmsModem modem(m_config, CSmsTiming(1.0));
    ASSERT_EQ(modem.Dial("1"), kSmsDialConnected);
    std::string discarded;
    modem.ReadAll(discarded);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(modem.WaitForInput(500));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
}

TEST_F(ModemLink, WaitForInputReportsInputThatArrivesWhileLooking) {
    m_sim.SetPieceDelay(100ms);
    m_sim.QueueAnswer("frame", SimAnswer{{"", "late"}});
    CSmsModem modem(m_config, CSmsTiming(1.0));
    ASSERT_EQ(modem.Dial("1"), kSmsDialConnected);
    std::string discarded;
    modem.ReadAll(discarded);
    ASSERT_TRUE(modem.Write(STX + ETX));
    EXPECT_TRUE(modem.WaitForInput(3000));
    std::string answer;
    EXPECT_TRUE(modem.ReadAll(answer));
    EXPECT_EQ(answer, "late");
}

TEST_F(ModemLink, HangUpLeavesTheCallAndClosesThePort) {
    CSmsModem modem(m_config, CSmsTiming(0.1));
    ASSERT_EQ(modem.Dial("1"), kSmsDialConnected);
    modem.HangUp();
    EXPECT_FALSE(modem.IsCallEstablished());
    EXPECT_TRUE(m_sim.WaitForCloses(1, 5s));
    EXPECT_EQ(m_sim.Escapes(), 1);
    EXPECT_EQ(m_sim.HangUps(), 1);
    modem.HangUp(); // nothing left to release
    EXPECT_EQ(m_sim.HangUps(), 1);
}

TEST_F(ModemLink, DialAgainReleasesTheFormerCallFirst) {
    CSmsModem modem(m_config, CSmsTiming(0.1));
    ASSERT_EQ(modem.Dial("1"), kSmsDialConnected);
    ASSERT_EQ(modem.Dial("2"), kSmsDialConnected);
    // The port is opened again at once, too soon to count the close here.
    EXPECT_EQ(m_sim.Escapes(), 1);
    EXPECT_EQ(m_sim.HangUps(), 1);
    EXPECT_EQ(m_sim.DialledNumbers(), (std::vector<std::string>{"1", "2"}));
}

TEST_F(ModemLink, DestructorHangsUp) {
    {
        CSmsModem modem(m_config, CSmsTiming(0.1));
        ASSERT_EQ(modem.Dial("1"), kSmsDialConnected);
    }
    EXPECT_TRUE(m_sim.WaitForCloses(1, 5s));
    EXPECT_EQ(m_sim.HangUps(), 1);
}
