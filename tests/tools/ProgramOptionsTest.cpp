// --help and --version of every program: printed, exit 0, and no service is
// started (the program ends by itself and leaves the installation and the
// runtime directory as they were).
#include "../core/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

struct ProgramRun {
    bool ended = false;
    int status = -1;
    std::string out;
};

// Runs the program with one argument, stdout into a file; kills it when it
// has not ended after a few seconds (a started service would not end).
ProgramRun RunProgram(const std::string& program, const char* argument, const TempDir& scratch) {
    const std::string path = std::string(TARN_BIN_DIR) + "/" + program;
    const std::string outFile = scratch.Path("out.txt");
    const std::string home = scratch.Path("home");
    const std::string runtime = scratch.Path("run");
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(runtime);
    pid_t child = ::fork();
    if (child == 0) {
        int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, STDOUT_FILENO);
        ::setenv("TARN_HOME", home.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("LANG", "de_DE.UTF-8", 1);
        ::execl(path.c_str(), path.c_str(), argument, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ProgramRun run;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (!run.ended && std::chrono::steady_clock::now() < deadline) {
        run.ended = ::waitpid(child, &status, WNOHANG) == child;
        if (!run.ended)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!run.ended) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = TempDir::Read(outFile);
    return run;
}

bool IsEmptyDirectory(const std::string& path) {
    return std::filesystem::is_empty(path);
}

class HelpOption : public ::testing::TestWithParam<const char*> {};
class VersionOption : public ::testing::TestWithParam<const char*> {};

TEST_P(HelpOption, PrintsEnglishUsageAndStartsNothing) {
    const std::string program = GetParam();
    if (!std::filesystem::exists(std::string(TARN_BIN_DIR) + "/" + program))
        GTEST_SKIP() << program << " is not part of this build";
    TempDir scratch;
    const ProgramRun run = RunProgram(program, "--help", scratch);
    ASSERT_TRUE(run.ended) << program << " --help kept running";
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("sage: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(program), std::string::npos) << run.out;
    EXPECT_TRUE(IsEmptyDirectory(scratch.Path("home")));
    EXPECT_TRUE(IsEmptyDirectory(scratch.Path("run")));
}

TEST_P(VersionOption, PrintsNameAndVersion) {
    const std::string program = GetParam();
    if (!std::filesystem::exists(std::string(TARN_BIN_DIR) + "/" + program))
        GTEST_SKIP() << program << " is not part of this build";
    TempDir scratch;
    const ProgramRun run = RunProgram(program, "--version", scratch);
    ASSERT_TRUE(run.ended) << program << " --version kept running";
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, program + " 2.5\n");
    EXPECT_TRUE(IsEmptyDirectory(scratch.Path("run")));
}

std::string ProgramTestName(const ::testing::TestParamInfo<const char*>& info) {
    std::string name = info.param;
    for (char& c : name)
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, HelpOption,
                         ::testing::Values("TARN", "TARN_Gateway", "tarn-admin",
                                           "tarn-snmp-subagent", "tarn-modem-sim", "tarn-agent"),
                         ProgramTestName);
INSTANTIATE_TEST_SUITE_P(EveryProgram, VersionOption,
                         ::testing::Values("TARN", "TARN_Gateway", "tarn-admin",
                                           "tarn-snmp-subagent", "tarn-modem-sim", "tarn-agent"),
                         ProgramTestName);

} // namespace
