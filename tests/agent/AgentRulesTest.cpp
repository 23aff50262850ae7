// The agent's rules that need no peer: its configuration, the restart budget,
// when a unit change is an error, and the names and words of commands.
#include "AgentSandbox.h"
#include "CommandExecutor.h"
#include "RestartBudget.h"
#include "UnitWatcher.h"

#include <gtest/gtest.h>

namespace {

TEST(AgentConfigTest, ValuesAndDefaults) {
    CAgentSandbox sandbox;
    const std::string path = sandbox.Root() + "agent.ini";
    sandbox.WriteFile(path, "[Agent]\nComputer=ALPHA\nDataDirectory=" + sandbox.Data() +
                                "\nRestartLimit=5\nAllowSystemRestart=yes\n[Services]\n"
                                "Service1=cron\nService2=ssh.socket\n[Apps]\nApp1=nginx\n"
                                "App2=worker;/opt/w/bin/worker\n[Journal]\nWatch=no\n");
    std::string error;
    auto config = LoadAgentConfig(path, error);
    ASSERT_TRUE(config) << error;
    EXPECT_EQ(config->Computer, "ALPHA");
    EXPECT_EQ(config->Services, (std::vector<std::string>{"cron.service", "ssh.socket"}));
    ASSERT_EQ(config->Apps.size(), 2u);
    EXPECT_EQ(config->Apps[1].Module, "worker");
    EXPECT_EQ(config->Apps[1].Program, "/opt/w/bin/worker");
    EXPECT_EQ(config->RestartLimit, 5);
    EXPECT_EQ(config->RestartWindow, std::chrono::minutes(15));
    EXPECT_TRUE(config->AllowSystemRestart);
    EXPECT_FALSE(config->WatchJournal);
    EXPECT_EQ(config->StateFile, kDefaultStateFile);
}

TEST(AgentConfigTest, BadValuesAreRefusedWithTheirKey) {
    CAgentSandbox sandbox;
    const std::string data = "DataDirectory=" + sandbox.Data() + "\n";
    struct Case {
        std::string text, named;
    } cases[] = {
        {"[Agent]\nComputer=alpha\n", "DataDirectory"},
        {"[Agent]\nComputer=alpha\nDataDirectory=" + sandbox.Root() + "missing\n", "DataDirectory"},
        {"[Agent]\nComputer=../x\n" + data, "Computer"},
        {"[Agent]\nComputer=a;b\n" + data, "Computer"},
        {"[Agent]\nComputer=alpha\nInterval=0\n" + data, "Interval"},
        {"[Agent]\nComputer=alpha\nRestartLimit=many\n" + data, "RestartLimit"},
        {"[Agent]\nComputer=alpha\nAllowSystemRestart=vielleicht\n" + data, "AllowSystemRestart"},
        {"[Agent]\nComputer=alpha\n" + data + "[Apps]\nApp1=/usr/bin/x\n", "Apps"},
        {"[Agent]\nComputer=alpha\n" + data + "[Services]\nService1=a;b\n", "Services"},
    };
    const std::string path = sandbox.Root() + "agent.ini";
    for (const Case& c : cases) {
        sandbox.WriteFile(path, c.text);
        std::string error;
        EXPECT_FALSE(LoadAgentConfig(path, error)) << c.text;
        EXPECT_NE(error.find(c.named), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(LoadAgentConfig(sandbox.Root() + "none.ini", error));
}

TEST(RestartBudgetTest, RefusesPastTheLimitUntilTheWindowMovesOn) {
    CRestartBudget budget(3, std::chrono::minutes(15));
    const std::time_t start = 1700000000;
    EXPECT_TRUE(budget.TryTake("cron.service", start));
    EXPECT_TRUE(budget.TryTake("cron.service", start + 60));
    EXPECT_TRUE(budget.TryTake("cron.service", start + 120));
    EXPECT_FALSE(budget.TryTake("cron.service", start + 180));
    EXPECT_TRUE(budget.TryTake("ssh.service", start + 180)) << "each target has its own budget";
    EXPECT_FALSE(budget.TryTake("cron.service", start + 15 * 60 - 1));
    EXPECT_TRUE(budget.TryTake("cron.service", start + 15 * 60)) << "the first has left the window";
    EXPECT_FALSE(budget.TryTake("cron.service", start + 15 * 60));
}

TEST(UnitTrackTest, OneLinePerTimeAwayFromActive) {
    struct Step {
        const char* active;
        bool job, error;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"fails", {{"active", 0, 0}, {"deactivating", 0, 1}, {"failed", 0, 0}}},
        {"fails at once", {{"active", 0, 0}, {"failed", 0, 1}, {"failed", 0, 0}}},
        {"stopped by a job", {{"active", 0, 0}, {"deactivating", 1, 0}, {"inactive", 1, 0}}},
        {"restarted by a job",
         {{"active", 0, 0}, {"deactivating", 1, 0}, {"activating", 1, 0}, {"active", 0, 0}}},
        {"ends by itself", {{"active", 0, 0}, {"inactive", 0, 1}}},
        {"fails again after running",
         {{"active", 0, 0}, {"failed", 0, 1}, {"active", 0, 0}, {"failed", 0, 1}}},
        {"start after a stop fails",
         {{"active", 0, 0}, {"inactive", 1, 0}, {"activating", 1, 0}, {"failed", 0, 1}}},
        {"first sight is no change", {{"failed", 0, 0}, {"failed", 0, 0}}},
        {"reload stays active", {{"active", 0, 0}, {"reloading", 1, 0}, {"active", 0, 0}}},
    };
    for (const Case& c : cases) {
        UnitTrack track;
        for (const Step& step : c.steps)
            EXPECT_EQ(TrackUnitState(track, step.active, step.job), step.error)
                << c.name << " at " << step.active;
    }
    UnitTrack stopped;
    TrackUnitState(stopped, "active", false);
    stopped.StopOnPurpose = true;
    EXPECT_FALSE(TrackUnitState(stopped, "inactive", false)) << "the agent's own stop";
}

TEST(CommandWordsTest, FileNamesAndParameters) {
    EXPECT_EQ(CommandFileNumber("TARN007.TRA"), "007");
    for (const char* other : {"TARN07.TRA", "TARN007.TRA.tmp.1.0", "TARN0a7.TRA", "tarn007.tra",
                              "TARN007.RLT", ".TARN007.TRA"})
        EXPECT_EQ(CommandFileNumber(other), "") << other;
    EXPECT_EQ(SplitParameters(" -fast  \"a b\" c"),
              (std::vector<std::string>{"-fast", "a b", "c"}));
    EXPECT_TRUE(SplitParameters("").empty());
}

} // namespace
