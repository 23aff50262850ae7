// The systemd units that cmake --install ships, in their build copies that
// name the build's program directory: systemd-analyze verify finds nothing
// to say, and the sub-agent talks to the AgentX socket that docs/SNMP.md
// configures in snmpd.conf.
#include "../core/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <sys/wait.h>

namespace {

const std::string kUnitDir = std::string(TARN_BIN_DIR) + "/../systemd-test/";

struct CommandRun {
    int status = -1;
    std::string output;
};

CommandRun RunCommand(const std::string& command) {
    CommandRun run;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> BuiltUnits() {
    std::vector<std::string> units;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kUnitDir, error))
        if (entry.path().extension() == ".service")
            units.push_back(entry.path().string());
    return units;
}

TEST(ServiceUnits, SystemdAnalyzeVerifyAcceptsEveryUnit) {
    if (RunCommand("systemd-analyze --version").status != 0)
        GTEST_SKIP() << "systemd-analyze is not installed";
    const std::vector<std::string> units = BuiltUnits();
    if (units.empty())
        GTEST_SKIP() << "this build makes no unit (TARN_ONLY)";
    for (const std::string& unit : units) {
        // The programs must exist for verify; a partial build may lack one.
        const CommandRun run = RunCommand("timeout 30 systemd-analyze verify '" + unit + "'");
        EXPECT_EQ(run.status, 0) << unit << ":\n" << run.output;
        EXPECT_EQ(run.output, "") << unit;
    }
}

TEST(ServiceUnits, SubAgentUsesTheAgentXSocketOfTheSnmpGuide) {
    const std::string unit = TempDir::Read(kUnitDir + "tarn-snmp-subagent.service");
    if (unit.empty())
        GTEST_SKIP() << "this build makes no sub-agent";
    const std::string guide = TempDir::Read(std::string(TARN_SOURCE_DIR) + "/docs/SNMP.md");
    std::smatch socket;
    ASSERT_TRUE(std::regex_search(guide, socket, std::regex("agentXSocket (\\S+)")));
    EXPECT_NE(unit.find("tarn-snmp-subagent -f -x " + socket[1].str() + "\n"), std::string::npos)
        << unit;
}

} // namespace
