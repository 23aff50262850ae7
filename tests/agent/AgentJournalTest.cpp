// The journal as the event log, on journal files that systemd-journal-remote
// writes from export-format text: errors and warnings become event log lines,
// other priorities do not, and an agent restart neither repeats nor loses one.
#include "AgentSandbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr const char* kJournalRemote = "/lib/systemd/systemd-journal-remote";
constexpr const char* kBootId = "0123456789abcdef0123456789abcdef";

struct Entry {
    int priority;
    std::string identifier, unitField, message;
};

class AgentJournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kJournalRemote))
            GTEST_SKIP() << kJournalRemote << " is missing (package systemd-journal-remote)";
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + m_sandbox.Root() + "no-bus").c_str(),
                 1);
        m_journal = m_sandbox.Root() + "journal/";
        fs::create_directories(m_journal);
        m_config = m_sandbox.Config();
        m_config.WatchJournal = true;
        m_config.JournalDirectory = m_journal;
    }
    // One journal file with the entries, stamped from now on.
    void WriteJournal(const std::string& name, const std::vector<Entry>& entries) {
        const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
        std::string text;
        for (const Entry& entry : entries) {
            ++m_sequence;
            text += "__REALTIME_TIMESTAMP=" + std::to_string(now + m_sequence) + "\n" +
                    "__MONOTONIC_TIMESTAMP=" + std::to_string(1000000 * m_sequence) + "\n" +
                    "_BOOT_ID=" + kBootId + "\nPRIORITY=" + std::to_string(entry.priority) +
                    "\nSYSLOG_IDENTIFIER=" + entry.identifier + "\n" + entry.unitField +
                    "\n_PID=4242\nMESSAGE=" + entry.message + "\n\n";
        }
        const std::string input = m_sandbox.Root() + name + ".export";
        m_sandbox.WriteFile(input, text);
        const std::string command = std::string(kJournalRemote) + " --output=" + m_journal + name +
                                    ".journal " + input + " 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    CAgentSandbox m_sandbox;
    CAgentLog m_log;
    AgentConfig m_config;
    std::string m_journal;
    int m_sequence = 0;
};

TEST_F(AgentJournalTest, ErrorsAndWarningsBecomeEventLogLinesOnce) {
    {
        CAgent agent(m_config, m_log);
        ASSERT_TRUE(agent.Start()); // the first start reads from now on
        agent.Round();
        ASSERT_NO_FATAL_FAILURE(
            WriteJournal("first", {{3, "mockd", "_SYSTEMD_UNIT=mockd.service", "disk; on fire"},
                                   {6, "mockd", "_SYSTEMD_UNIT=mockd.service", "all is well"},
                                   {4, "editor", "_SYSTEMD_USER_UNIT=editor.service", "low memory"},
                                   {2, "kernel", "_TRANSPORT=kernel", "critical"}}));
        agent.Round();
        agent.Stop();
    }
    auto lines = m_sandbox.LogLines();
    ASSERT_EQ(lines.size(), 3u);
    struct Expected {
        std::string source, name, type, description;
    } expected[] = {{"1", "mockd", "1", "disk, on fire"},
                    {"2", "editor", "2", "low memory"},
                    {"1", "kernel", "1", "critical"}};
    for (size_t i = 0; i < 3; ++i) {
        const auto fields = Fields(lines[i]);
        ASSERT_EQ(fields.size(), 9u);
        EXPECT_EQ(fields[2], expected[i].source) << lines[i];
        EXPECT_EQ(fields[3], expected[i].name);
        EXPECT_EQ(fields[5], expected[i].type);
        EXPECT_EQ(fields[8], expected[i].description);
    }

    // A new agent goes on after the last entry it read.
    ASSERT_NO_FATAL_FAILURE(
        WriteJournal("second", {{3, "backupd", "_SYSTEMD_UNIT=backupd.service", "tape missing"}}));
    CAgent agent(m_config, m_log);
    ASSERT_TRUE(agent.Start());
    agent.Round();
    agent.Round();
    lines = m_sandbox.LogLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Fields(lines[3])[8], "tape missing");
}

} // namespace
