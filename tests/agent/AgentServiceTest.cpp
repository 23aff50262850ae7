// Services and system restarts against stand-ins for systemd and logind on a
// private bus: a failing unit gives one line, commands become unit jobs whose
// end is the result, the restart budget refuses past its limit, and logind
// decides on a system restart.
#include "AgentSandbox.h"
#include "IniFile.h"
#include "MockBus.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

constexpr const char* kUnit = "tarn-mock.service";

class AgentServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string reason;
        if (!m_bus.Start(reason))
            GTEST_SKIP() << reason;
        ASSERT_TRUE(m_bus.AddUnit(kUnit, "Mock; service", "/usr/sbin/mockd"));
        ASSERT_TRUE(m_bus.AddUnit("other.service", "Other", "/usr/bin/other"));
        m_config = m_sandbox.Config();
        m_config.Services = {kUnit};
    }
    std::vector<std::string> ServiceLines() const {
        std::vector<std::string> lines;
        for (const std::string& line : m_sandbox.LogLines())
            if (Fields(line)[6] == "2")
                lines.push_back(line);
        return lines;
    }
    std::string Command(CAgent& agent, const std::string& number, const std::string& line) {
        m_sandbox.WriteCommand(number, line);
        RunRoundsUntil(
            agent, [&] { return m_sandbox.Result(number) != ""; }, 5);
        return m_sandbox.Result(number);
    }
    static void Settle(CAgent& agent) {
        for (int i = 0; i < 4; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            agent.Round();
        }
    }

    CMockBus m_bus;
    CAgentSandbox m_sandbox;
    CAgentLog m_log;
    AgentConfig m_config;
};

TEST_F(AgentServiceTest, AnnouncesWatchedAndInstalledUnits) {
    CAgent agent(m_config, m_log);
    ASSERT_TRUE(agent.Start());
    CIniFile config = CIniFile::Load(m_sandbox.Data() + "TARN.CFG");
    EXPECT_EQ(config.GetList("Server", "Server"), (std::vector<std::string>{"alpha"}));
    EXPECT_EQ(config.GetList("alpha", "Service"),
              (std::vector<std::string>{"tarn-mock.service;tarn-mock.service;Mock, service"}));
    EXPECT_EQ(config.GetList("alpha", "Servicelist"),
              (std::vector<std::string>{"other.service;other.service;Other",
                                        "tarn-mock.service;tarn-mock.service;Mock, service"}));
}

TEST_F(AgentServiceTest, AFailingUnitGivesOneLineAndOnlyOne) {
    CAgent agent(m_config, m_log);
    ASSERT_TRUE(agent.Start());
    agent.Round();
    ASSERT_TRUE(m_bus.SetUnitState(kUnit, "deactivating", "stop-sigterm", "exit-code"));
    ASSERT_TRUE(m_bus.SetUnitState(kUnit, "failed", "failed", "exit-code"));
    ASSERT_TRUE(RunRoundsUntil(
        agent, [&] { return !ServiceLines().empty(); }, 5));
    Settle(agent);
    const auto lines = ServiceLines();
    ASSERT_EQ(lines.size(), 1u);
    const auto fields = Fields(lines[0]);
    EXPECT_EQ(fields[3], kUnit);
    EXPECT_EQ(fields[4], "mockd");
    EXPECT_NE(fields[8].find("exit-code"), std::string::npos) << fields[8];
    // A unit that stops on purpose (a stop job) gives none.
    ASSERT_EQ(Command(agent, "000", std::string("START_SERVICE;") + kUnit + ";"), "0");
    ASSERT_EQ(Command(agent, "001", std::string("STOP_SERVICE;") + kUnit + ";"), "0");
    Settle(agent);
    EXPECT_EQ(ServiceLines().size(), 1u);
}

TEST_F(AgentServiceTest, AFailureWhileTheAgentWasDownIsReported) {
    {
        CAgent agent(m_config, m_log);
        ASSERT_TRUE(agent.Start());
        agent.Round();
        agent.Stop();
    }
    ASSERT_TRUE(m_bus.SetUnitState(kUnit, "failed", "failed", "signal"));
    CAgent agent(m_config, m_log);
    ASSERT_TRUE(agent.Start());
    agent.Round();
    EXPECT_EQ(ServiceLines().size(), 1u);
}

TEST_F(AgentServiceTest, CommandResultsComeFromTheJobs) {
    CAgent agent(m_config, m_log);
    ASSERT_TRUE(agent.Start());
    ASSERT_TRUE(m_bus.SetUnitState(kUnit, "failed", "failed", "exit-code"));
    Settle(agent);
    EXPECT_EQ(Command(agent, "000", std::string("START_SERVICE;") + kUnit + ";"), "0");
    ASSERT_TRUE(m_bus.SetJobResult(kUnit, "failed"));
    EXPECT_EQ(Command(agent, "001", std::string("START_SERVICE;") + kUnit + ";"), "4");
    EXPECT_EQ(Command(agent, "002", "START_SERVICE;other.service;"), "2") << "not watched";
    EXPECT_EQ(m_bus.JobCalls(), (std::vector<std::string>{std::string("start ") + kUnit,
                                                          std::string("restart ") + kUnit}))
        << "a failed unit is started, a running one restarted";
}

TEST_F(AgentServiceTest, TheBudgetRefusesTheFourthRestart) {
    CAgent agent(m_config, m_log);
    ASSERT_TRUE(agent.Start());
    for (const char* number : {"000", "001", "002"})
        EXPECT_EQ(Command(agent, number, std::string("START_SERVICE;") + kUnit + ";"), "0");
    EXPECT_EQ(Command(agent, "003", std::string("START_SERVICE;") + kUnit + ";"), "3");
    EXPECT_EQ(m_bus.JobCalls().size(), 3u);
    const auto lines = ServiceLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Fields(lines[0])[3], kUnit);
    EXPECT_NE(Fields(lines[0])[8].find("aufgebraucht"), std::string::npos);
}

TEST_F(AgentServiceTest, SystemRestartsGoThroughLogind) {
    m_config.AllowSystemRestart = true;
    CAgent agent(m_config, m_log);
    ASSERT_TRUE(agent.Start());
    EXPECT_EQ(Command(agent, "000", "SHUTDOWN_SYSTEM;0;0"), "0");
    EXPECT_EQ(m_bus.RebootCalls(), 1);
    ASSERT_TRUE(m_bus.RefuseReboot());
    EXPECT_EQ(Command(agent, "001", "SHUTDOWN_SYSTEM;0;0"), "5");
}

} // namespace
