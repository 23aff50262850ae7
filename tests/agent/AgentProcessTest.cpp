// Applications: a watched program that ends gives one application line, and
// START_APP / STOP_APP start and stop it. There is no system bus here, so
// the agent watches processes only.
#include "AgentSandbox.h"
#include "IniFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

class AgentProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + m_sandbox.Root() + "no-bus").c_str(),
                 1);
        // A private copy of sleep, so that no other process has its name.
        m_module = "tarn-sleeper-" + std::to_string(::getpid());
        m_program = m_sandbox.Root() + m_module;
        fs::copy_file("/bin/sleep", m_program);
        m_config = m_sandbox.Config();
        m_config.Apps = {{m_module, m_program}};
    }
    void TearDown() override {
        for (pid_t pid : m_started) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    pid_t StartSleeper() {
        std::string program = m_program, seconds = "30";
        char* argv[] = {program.data(), seconds.data(), nullptr};
        pid_t pid = -1;
        EXPECT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
        m_started.push_back(pid);
        return pid;
    }
    static void KillAndReap(pid_t pid) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    bool SleeperRuns() const {
        return !CProcessWatcher({m_module}).FindProcesses(m_module).empty();
    }

    CAgentSandbox m_sandbox;
    CAgentLog m_log;
    AgentConfig m_config;
    std::string m_module, m_program;
    std::vector<pid_t> m_started;
};

TEST_F(AgentProcessTest, AProgramThatEndsGivesOneApplicationLine) {
    const pid_t pid = StartSleeper();
    CAgent agent(m_config, m_log);
    ASSERT_TRUE(agent.Start());
    ASSERT_TRUE(RunRoundsUntil(
        agent, [&] { return SleeperRuns(); }, 5));
    agent.Round();
    EXPECT_TRUE(m_sandbox.LogLines().empty());
    KillAndReap(pid);
    agent.Round();
    agent.Round();
    const auto lines = m_sandbox.LogLines();
    ASSERT_EQ(lines.size(), 1u);
    const auto fields = Fields(lines[0]);
    ASSERT_EQ(fields.size(), 9u);
    EXPECT_EQ(fields[1], "alpha");
    EXPECT_EQ(fields[4], m_module);
    EXPECT_EQ(fields[6], "1");
    EXPECT_NE(fields[2], "0");
    EXPECT_NE(fields[5], "0");
    agent.Stop();
    EXPECT_EQ(ReadProfileString(m_sandbox.Exchange() + "alpha.INI", "Information", "TARNStartDate"),
              "");
}

TEST_F(AgentProcessTest, AProgramThatEndedWhileTheAgentWasDownIsReported) {
    const pid_t pid = StartSleeper();
    {
        CAgent agent(m_config, m_log);
        ASSERT_TRUE(agent.Start());
        ASSERT_TRUE(RunRoundsUntil(
            agent, [&] { return SleeperRuns(); }, 5));
        agent.Stop();
    }
    KillAndReap(pid);
    CAgent agent(m_config, m_log);
    ASSERT_TRUE(agent.Start());
    agent.Round();
    EXPECT_EQ(m_sandbox.LogLines().size(), 1u);
}

TEST_F(AgentProcessTest, StartAndStopCommands) {
    CAgent agent(m_config, m_log);
    ASSERT_TRUE(agent.Start());
    EXPECT_NE(ReadProfileString(m_sandbox.Exchange() + "alpha.INI", "Information", "TARNStartDate"),
              "");
    m_sandbox.WriteCommand("000", "START_APP;" + m_module + ";30");
    ASSERT_TRUE(RunRoundsUntil(
        agent, [&] { return m_sandbox.Result("000") != ""; }, 5));
    EXPECT_EQ(m_sandbox.Result("000"), "0");
    EXPECT_FALSE(fs::exists(m_sandbox.Exchange() + "TARN000.TRA"));
    ASSERT_TRUE(RunRoundsUntil(
        agent, [&] { return SleeperRuns(); }, 5));

    m_sandbox.WriteCommand("001", "STOP_APP;" + m_module + ";");
    ASSERT_TRUE(RunRoundsUntil(
        agent, [&] { return m_sandbox.Result("001") != ""; }, 10));
    EXPECT_EQ(m_sandbox.Result("001"), "0");
    EXPECT_FALSE(SleeperRuns());
    agent.Round();
    EXPECT_TRUE(m_sandbox.LogLines().empty()) << "a stop on purpose is no error";

    struct Case {
        std::string command, result;
    } refused[] = {{"START_APP;other-program;", "2"},
                   {"START_SERVICE;cron.service;", "2"},
                   {"SHUTDOWN_SYSTEM;0;0", "6"},
                   {"FORMAT_DISK;c;", "1"},
                   {"", "1"}};
    int number = 2;
    for (const Case& c : refused) {
        const std::string name = "00" + std::to_string(number++);
        m_sandbox.WriteCommand(name, c.command);
        agent.Round();
        EXPECT_EQ(m_sandbox.Result(name), c.result) << c.command;
    }
}

} // namespace
