// Cancelling a command of the command-check runner: the configuration
// dialog's test run is cancelled when the dialog closes.
#include "CCommandRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

struct CancelCase {
    const char* name;
    const char* command;
};

class CommandRunnerCancelTest : public ::testing::TestWithParam<CancelCase> {};

TEST_P(CommandRunnerCancelTest, CancelEndsTheCommandAtOnce) {
    const int cancel = ::eventfd(0, EFD_CLOEXEC);
    ASSERT_GE(cancel, 0);
    const CCommandRunner runner(std::chrono::seconds(600), 4096);
    const auto start = std::chrono::steady_clock::now();
    auto run =
        std::async(std::launch::async, [&] { return runner.Run(GetParam().command, {}, cancel); });
    EXPECT_EQ(run.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
    const uint64_t one = 1;
    ASSERT_EQ(::write(cancel, &one, sizeof one), static_cast<ssize_t>(sizeof one));
    ASSERT_EQ(run.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(run.get().Result, CommandOutcome::Kind::Cancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    ::close(cancel);
}

INSTANTIATE_TEST_SUITE_P(
    States, CommandRunnerCancelTest,
    ::testing::Values(CancelCase{"while_it_writes", "echo begonnen; sleep 600"},
                      // Both streams closed: the runner only waits for the exit.
                      CancelCase{"after_closing_its_output", "exec >&- 2>&-; sleep 600"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandRunnerTest, WithoutCancelTheCommandEndsByItself) {
    const int cancel = ::eventfd(0, EFD_CLOEXEC);
    const CommandOutcome outcome =
        CCommandRunner(std::chrono::seconds(10), 4096).Run("echo fertig; exit 3", {}, cancel);
    EXPECT_EQ(outcome.Result, CommandOutcome::Kind::Exited);
    EXPECT_EQ(outcome.ExitCode, 3);
    EXPECT_EQ(outcome.Output, "fertig\n");
    ::close(cancel);
}

} // namespace
