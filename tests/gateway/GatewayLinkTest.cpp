// The console's link and the gateway's process rules: starting, finding, quitting,
// single instance, stale sockets, refused peers and time-outs.
#include "GatewayLink.h"
#include "GatewayTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

class GatewayLinkTest : public ::testing::Test {
protected:
    CTestRuntimeDir runtime;
    CGatewayLink link{GatewayProgram()};

    // A gateway started by the test itself, so that its exit can be awaited.
    pid_t StartGatewayChild() {
        const pid_t pid = SpawnProcess({GatewayProgram()});
        EXPECT_TRUE(WaitForListener(runtime.SocketPath(), 5s));
        return pid;
    }
};

TEST(GatewayLinkFields, TextIsCutToItsFieldKeepingTheNulAndWholeCharacters) {
    char field[8];
    struct Case {
        std::string text;
        std::string stored;
    } cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"1234567", "1234567"},
        {"123456789", "1234567"},
        {"12345\xC3\xA4", "12345\xC3\xA4"},        // "ä" fits exactly
        {"123456\xC3\xA4", "123456"},              // "ä" would be split: left out
        {"1234\xE2\x82\xAC!", "1234\xE2\x82\xAC"}, // "€" fits, "!" does not
        {"12345\xE2\x82\xAC", "12345"},            // "€" would be split
    };
    for (const auto& c : cases) {
        std::memset(field, 'x', sizeof field);
        CGatewayLink::FillField(field, c.text);
        EXPECT_EQ(std::string(field), c.stored) << "text " << c.text;
        EXPECT_EQ(field[sizeof field - 1], '\0') << "text " << c.text;
    }
}

TEST_F(GatewayLinkTest, FirstRequestStartsTheGatewayAndLaterOnesReuseIt) {
    ASSERT_EQ(GatewayPid(runtime.SocketPath()), -1);
    EXPECT_EQ(link.SendGatewayRequest(99, 1000), GATEWAY_ANSWER_UNKNOWN);
    const pid_t first = GatewayPid(runtime.SocketPath());
    ASSERT_GT(first, 0);
    EXPECT_EQ(link.SendGatewayRequest(99, 1000), GATEWAY_ANSWER_UNKNOWN);
    EXPECT_EQ(GatewayPid(runtime.SocketPath()), first);
}

TEST_F(GatewayLinkTest, GatewayKilledBetweenRequestsIsStartedAgain) {
    ASSERT_EQ(link.SendGatewayRequest(99, 1000), GATEWAY_ANSWER_UNKNOWN);
    const pid_t first = GatewayPid(runtime.SocketPath());
    ASSERT_GT(first, 0);
    ASSERT_EQ(::kill(first, SIGKILL), 0);
    ASSERT_TRUE(WaitForExit(first, 5s));
    // The killed gateway left its socket file behind; the new one replaces it.
    struct stat info;
    ASSERT_EQ(::stat(runtime.SocketPath().c_str(), &info), 0);

    EXPECT_EQ(link.SendGatewayRequest(99, 1000), GATEWAY_ANSWER_UNKNOWN);
    const pid_t second = GatewayPid(runtime.SocketPath());
    EXPECT_GT(second, 0);
    EXPECT_NE(second, first);
}

TEST_F(GatewayLinkTest, QuitAnswersOneAndTheProcessEnds) {
    const pid_t pid = StartGatewayChild();
    EXPECT_EQ(link.Quit(), GATEWAY_ANSWER_QUIT);
    int status = -1;
    ASSERT_TRUE(WaitForExit(pid, 5s, &status));
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    struct stat info;
    EXPECT_NE(::stat(runtime.SocketPath().c_str(), &info), 0) << "socket file left behind";
}

TEST_F(GatewayLinkTest, UnknownCodeAndWrongSizeAnswerOneAndTheGatewayGoesOn) {
    const pid_t pid = StartGatewayChild();
    const GatewayRequest request{};
    const std::string whole = RequestBytes(GATEWAY_QUIT, request);
    EXPECT_EQ(RawExchange(runtime.SocketPath(), RequestBytes(-7, request)), GATEWAY_ANSWER_UNKNOWN);
    // A quit request one byte short or one byte long is refused, not obeyed.
    EXPECT_EQ(RawExchange(runtime.SocketPath(), whole.substr(0, whole.size() - 1)),
              GATEWAY_ANSWER_UNKNOWN);
    EXPECT_EQ(RawExchange(runtime.SocketPath(), whole + "x"), GATEWAY_ANSWER_UNKNOWN);
    EXPECT_EQ(RawExchange(runtime.SocketPath(), ""), GATEWAY_ANSWER_UNKNOWN);
    EXPECT_EQ(GatewayPid(runtime.SocketPath()), pid);
    EXPECT_EQ(RawExchange(runtime.SocketPath(), whole), GATEWAY_ANSWER_QUIT);
    EXPECT_TRUE(WaitForExit(pid, 5s));
}

TEST_F(GatewayLinkTest, WholeRequestIsAnsweredWithoutWaitingForTheShutdown) {
    const pid_t pid = StartGatewayChild();
    const std::string ping = RequestBytes(GATEWAY_PING, GatewayRequest{});
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(RawExchange(runtime.SocketPath(), ping, false), GATEWAY_PING_HOST_UNKNOWN);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1500ms)
        << "answered only at the time-out";
    // A request one byte short still waits for the shutdown, and is refused then.
    EXPECT_EQ(RawExchange(runtime.SocketPath(), ping.substr(1), false), std::nullopt);
    EXPECT_EQ(RawExchange(runtime.SocketPath(), RequestBytes(GATEWAY_QUIT, {}), false),
              GATEWAY_ANSWER_QUIT);
    EXPECT_TRUE(WaitForExit(pid, 5s));
}

TEST_F(GatewayLinkTest, SecondGatewayLeavesTheFirstOneAlone) {
    const pid_t first = StartGatewayChild();
    const pid_t second = SpawnProcess({GatewayProgram()});
    int status = -1;
    ASSERT_TRUE(WaitForExit(second, 5s, &status));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(GatewayPid(runtime.SocketPath()), first);
    EXPECT_EQ(link.SendGatewayRequest(99, 1000), GATEWAY_ANSWER_UNKNOWN);
    EXPECT_EQ(link.Quit(), GATEWAY_ANSWER_QUIT);
    EXPECT_TRUE(WaitForExit(first, 5s));
}

TEST_F(GatewayLinkTest, StaleSocketFileIsReplaced) {
    // A socket file that nobody listens on any more, as a crash leaves it.
    const int stale = BindUnix(runtime.SocketPath(), false);
    ASSERT_GE(stale, 0);
    ::close(stale);
    ASSERT_EQ(GatewayPid(runtime.SocketPath()), -1);

    const pid_t pid = StartGatewayChild();
    EXPECT_EQ(GatewayPid(runtime.SocketPath()), pid);
    EXPECT_EQ(link.Quit(), GATEWAY_ANSWER_QUIT);
}

TEST_F(GatewayLinkTest, MissingProgramGivesMinusOne) {
    CGatewayLink missing(runtime.Path() + "no-such-gateway");
    EXPECT_EQ(missing.FindOrStartGateway(), -1);
    EXPECT_EQ(missing.Ping("127.0.0.1", 100), GATEWAY_UNAVAILABLE);
}

TEST_F(GatewayLinkTest, ProgramThatNeverListensGivesMinusOneAfterTenLooks) {
    // /bin/true starts fine but never opens the socket.
    CGatewayLink silent("/bin/true");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(silent.SendGatewayRequest(GATEWAY_QUIT, 1000), GATEWAY_UNAVAILABLE);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 5000ms);
}

TEST_F(GatewayLinkTest, GatewayThatDoesNotAnswerGivesMinusTwoAfterTimeOutPlusTwoSeconds) {
    // A listener that accepts connections into its backlog but never serves them.
    const int fake = BindUnix(runtime.SocketPath(), true);
    ASSERT_GE(fake, 0);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.Ping("127.0.0.1", 500), GATEWAY_EXCHANGE_FAILED);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, 2500ms);
    EXPECT_LT(elapsed, 4500ms);
    ::close(fake);
}

TEST_F(GatewayLinkTest, RequestOfAnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run a client as the user nobody";
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody)
        GTEST_SKIP() << "there is no user nobody";
    const pid_t pid = StartGatewayChild();
    // Let the other user reach the socket, so that only the gateway's own check stands.
    ASSERT_EQ(::chmod(runtime.Path().c_str(), 0711), 0);
    ASSERT_EQ(::chmod(runtime.SocketPath().c_str(), 0666), 0);

    const std::string quit = RequestBytes(GATEWAY_QUIT, GatewayRequest{});
    const pid_t client = ::fork();
    if (client == 0) {
        if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
            ::_exit(3);
        // 0: connected and refused without an answer; 1: answered; 2: no connection.
        if (GatewayPid(runtime.SocketPath()) < 0)
            ::_exit(2);
        ::_exit(RawExchange(runtime.SocketPath(), quit) ? 1 : 0);
    }
    int status = -1;
    ASSERT_TRUE(WaitForExit(client, 10s, &status));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1 = the gateway answered, 2 = no connection";
    // The refused quit changed nothing: the same gateway still serves its own user.
    EXPECT_EQ(GatewayPid(runtime.SocketPath()), pid);
    EXPECT_EQ(link.SendGatewayRequest(99, 1000), GATEWAY_ANSWER_UNKNOWN);
}

} // namespace
