// The demo installation as scripts/run.sh shows it: "tarn-admin demo", the
// demo agent beside the headless console, and within the first minute a
// notification that succeeded, received by the demo's loopback mail server.
#include "../LoopbackPort.h"
#include "CDBEngineTARN.h"
#include "ConsoleProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class DemoRunTest : public ::testing::Test {
protected:
    void TearDown() override {
        const pid_t agent = std::atoi(m_sandbox.ReadFile(m_home + "agent.pid").c_str());
        if (agent <= 0 || ::kill(agent, SIGTERM) != 0)
            return;
        // It ends within a second of the signal; the installation goes after it.
        for (int i = 0; i < 100 && ::kill(agent, 0) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // Points the demo's mail server at a free port, so that the test does not
    // depend on the demo's fixed one being free.
    void MoveMailServer(int port) {
        CDBEngineTARN database;
        bool config = false, history = false;
        database.Open(m_home + "TARN.MDB", m_home + "HISTORY.MDB", config, history);
        ASSERT_TRUE(config && history);
        DBNotifySrvConfig services;
        ASSERT_TRUE(database.GetNotifyServicesConfig(services));
        EXPECT_EQ(services.SMTP_MAILSERVER, "127.0.0.1:2525");
        services.SMTP_MAILSERVER = "127.0.0.1:" + std::to_string(port);
        ASSERT_TRUE(database.SetNotifyServicesConfig(services));
        database.Close();
    }
    bool WaitForAgent(const std::string& text, int seconds) {
        for (int i = 0; i < seconds * 20; ++i) {
            if (m_sandbox.ReadFile(m_home + "agent.log").find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    CConsoleSandbox m_sandbox;
    std::string m_home = m_sandbox.HomeDir();
};

TEST_F(DemoRunTest, FirstMinuteShowsANotificationThatSucceeded) {
    if (m_sandbox.Shell("/usr/bin/python3 -c 'import aiosmtpd' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-aiosmtpd is not installed";
    ASSERT_EQ(
        m_sandbox.Shell(std::string(TARN_BIN_DIR) + "/tarn-admin demo '" + m_home + "' >/dev/null"),
        0);
    const int port = FreeLoopbackPort();
    ASSERT_NE(port, 0);
    ASSERT_NO_FATAL_FAILURE(MoveMailServer(port));
    ASSERT_EQ(m_sandbox.Shell("/usr/bin/python3 " TARN_SOURCE_DIR "/scripts/demo_agent.py '" +
                              m_home + "' --first-error-after 1 >'" + m_home +
                              "agent.log' 2>&1 & echo \\$! >'" + m_home + "agent.pid'"),
              0);
    ASSERT_TRUE(
        WaitForAgent("demo mail server: listening on 127.0.0.1:" + std::to_string(port), 10))
        << m_sandbox.ReadFile(m_home + "agent.log");

    m_sandbox.Environment()["TARN_PASS_PERIOD_MS"] = "1000";
    m_sandbox.Start({"--headless"});
    EXPECT_TRUE(m_sandbox.WaitForOutput("Internet-Mail Benachrichtigung <Administrator> an "
                                        "<root@localhost> durchgeführt. Status: Das Problem trat "
                                        "zum ersten Mal auf. Ergebnis: Die Nachricht wurde "
                                        "erfolgreich abgeschickt.",
                                        40));
    EXPECT_TRUE(
        WaitForAgent("demo mail server: mail for root@localhost: TARN! Benachrichtigung", 10))
        << m_sandbox.ReadFile(m_home + "agent.log");
    EXPECT_TRUE(fs::exists(m_home + "demo/mail/001.eml"));
    const ProcessResult result = m_sandbox.Stop(20);
    EXPECT_EQ(result.out.find("unvollständig oder fehlerhaft"), std::string::npos) << result.out;
}

} // namespace
