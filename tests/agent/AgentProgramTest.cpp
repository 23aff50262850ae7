// The program itself: its options, its exit status for a bad configuration,
// and one round with --once on a computer without systemd.
#include "AgentSandbox.h"
#include "IniFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

namespace {

struct AgentRun {
    int status = -1;
    std::string err;
};

AgentRun RunAgent(const CAgentSandbox& sandbox, const std::string& arguments) {
    const std::string errFile = sandbox.Root() + "agent.err";
    const std::string command = "DBUS_SYSTEM_BUS_ADDRESS=unix:path=" + sandbox.Root() +
                                "no-bus JOURNAL_STREAM= " + TARN_BIN_DIR + "/tarn-agent " +
                                arguments + " >/dev/null 2>" + errFile;
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, sandbox.ReadFile(errFile)};
}

TEST(AgentProgramTest, OptionsAndExitStatus) {
    CAgentSandbox sandbox;
    EXPECT_EQ(RunAgent(sandbox, "--help").status, 0);
    EXPECT_EQ(RunAgent(sandbox, "--bogus").status, 2);
    const std::string config = sandbox.Root() + "agent.ini";
    sandbox.WriteFile(config,
                      "[Agent]\nComputer=alpha\nDataDirectory=" + sandbox.Root() + "none\n");
    AgentRun bad = RunAgent(sandbox, "--config " + config + " --once");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("DataDirectory"), std::string::npos) << bad.err;
}

TEST(AgentProgramTest, OneRoundWithoutSystemdWatchesProcessesAndSaysSoOnce) {
    CAgentSandbox sandbox;
    const std::string config = sandbox.Root() + "agent.ini";
    sandbox.WriteFile(config, "[Agent]\nComputer=alpha\nDataDirectory=" + sandbox.Data() +
                                  "\nStateFile=" + sandbox.Root() +
                                  "state.ini\n[Services]\nService1=cron\n[Apps]\nApp1=nginx\n"
                                  "[Journal]\nDirectory=" +
                                  sandbox.Root() + "no-journal\n");
    AgentRun once = RunAgent(sandbox, "--config " + config + " --once");
    EXPECT_EQ(once.status, 0) << once.err;
    const std::string notice = "services and the journal are not watched here";
    const size_t first = once.err.find(notice);
    EXPECT_NE(first, std::string::npos) << once.err;
    EXPECT_EQ(once.err.find(notice, first + 1), std::string::npos) << once.err;
    CIniFile global = CIniFile::Load(sandbox.Data() + "TARN.CFG");
    EXPECT_EQ(global.GetList("Server", "Server"), (std::vector<std::string>{"alpha"}));
    EXPECT_EQ(global.GetList("alpha", "App"), (std::vector<std::string>{"nginx"}));
    EXPECT_EQ(ReadProfileString(sandbox.Exchange() + "alpha.INI", "Information", "TARNStartDate"),
              "")
        << "emptied by the orderly stop";
    EXPECT_NE(ReadProfileString(sandbox.Exchange() + "alpha.INI", "Information", "LastTouch"), "");
    EXPECT_TRUE(std::filesystem::exists(sandbox.Exchange() + "alpha.log"));
}

} // namespace
