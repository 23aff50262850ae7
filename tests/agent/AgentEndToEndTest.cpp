// The whole road of a service error with the real agent: the headless console
// and tarn-agent share one data directory; a unit of the systemd stand-in
// fails, the console opens a problem and asks the agent to restart the
// service, the agent has the stand-in start the unit, and the console records
// the agent's answer as a successful action.
#include "CDBEngineTARN.h"
#include "ConsoleProcess.h"
#include "IniFile.h"
#include "MockBus.h"

#include "../WaitFor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kUnit = "tarn-mock.service";

class AgentEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string reason;
        if (!m_bus.Start(reason))
            GTEST_SKIP() << reason;
        ASSERT_TRUE(m_bus.AddUnit(kUnit, "Mock", "/usr/sbin/mockd"));
        ASSERT_TRUE(m_console.InitHome());
        m_data = m_console.HomeDir() + "data/";
        fs::create_directories(m_data);
        m_console.Environment()["TARN_PASS_PERIOD_MS"] = "1000";
        ASSERT_NO_FATAL_FAILURE(ConfigureAudition());
    }
    void TearDown() override {
        if (m_agent > 0) {
            ::kill(m_agent, SIGKILL);
            ::waitpid(m_agent, nullptr, 0);
        }
    }
    // A service audition of the unit on computer alpha that restarts it.
    void ConfigureAudition() {
        CDBEngineTARN database;
        bool config = false, history = false;
        database.Open(m_console.HomeDir() + "TARN.MDB", m_console.HomeDir() + "HISTORY.MDB", config,
                      history);
        ASSERT_TRUE(config && history);
        DBAudition audition;
        audition.AUDITION_ID = AUDITION_ID_NEW;
        audition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::Service);
        audition.NAME = "Mockdienst";
        audition.ACTIVE = true;
        audition.ACTION_RESTART_SERVICE = true;
        audition.MAX_DURATION = 15;
        audition.Service = {0, "alpha", kUnit, kUnit, "Mock"};
        ASSERT_TRUE(database.SetAudition(audition));
        database.Close();
    }
    void StartAgent() {
        const std::string config = m_console.HomeDir() + "agent.ini";
        m_console.WriteFile(config, "[Agent]\nComputer=alpha\nDataDirectory=" + m_data +
                                        "\nStateFile=" + m_console.HomeDir() +
                                        "agent-state.ini\nInterval=1\n[Services]\nService1=" +
                                        kUnit + "\n[Journal]\nWatch=no\n");
        std::string program = std::string(TARN_BIN_DIR) + "/tarn-agent", option = "--config";
        char* argv[] = {program.data(), option.data(), const_cast<char*>(config.c_str()), nullptr};
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 2, (m_console.HomeDir() + "agent.err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_EQ(posix_spawn(&m_agent, program.c_str(), &files, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&files);
    }
    int StopAgent() {
        int status = -1;
        ::kill(m_agent, SIGTERM);
        ::waitpid(m_agent, &status, 0);
        m_agent = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    CMockBus m_bus;
    CConsoleSandbox m_console;
    std::string m_data;
    pid_t m_agent = -1;
};

TEST_F(AgentEndToEndTest, AFailedUnitIsRestartedThroughTheAgent) {
    ASSERT_NO_FATAL_FAILURE(StartAgent());
    ASSERT_TRUE(WaitFor([&] { return fs::exists(m_data + "TARN.CFG"); }, 10));
    m_console.Start({"--headless"});
    std::this_thread::sleep_for(std::chrono::seconds(2));
    ASSERT_TRUE(m_bus.SetUnitState(kUnit, "failed", "failed", "exit-code"));

    ASSERT_TRUE(m_console.WaitForOutput("Es wurden Fehler signalisiert", 30));
    ASSERT_TRUE(m_console.WaitForOutput("Problembearbeitung wird gestartet", 10));
    ASSERT_TRUE(
        m_console.WaitForOutput("Aktion <Service neu starten> wurde erfolgreich durchgeführt", 30))
        << m_console.ReadFile(m_console.HomeDir() + "agent.err");
    EXPECT_EQ(m_bus.JobCalls(), (std::vector<std::string>{std::string("start ") + kUnit}));
    const std::string log = m_console.ReadFile(m_data + "alpha/alpha.log");
    EXPECT_EQ(log.substr(0, 14), "00000000000000") << log;

    EXPECT_EQ(StopAgent(), 0);
    EXPECT_EQ(ReadProfileString(m_data + "alpha/alpha.INI", "Information", "TARNStartDate"), "");
    const ProcessResult console = m_console.Stop(20);
    EXPECT_EQ(console.exitStatus, 0) << console.err;
}

} // namespace
