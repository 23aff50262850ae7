// Ping through the gateway: loopback, and hosts in network namespaces that the
// test creates (one that answers, one that drops echo requests, no route).
#include "GatewayLink.h"
#include "GatewayTestSupport.h"
#include "Pinger.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pwd.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

class GatewayPingTest : public ::testing::Test {
protected:
    CTestRuntimeDir runtime;
    CGatewayLink link{GatewayProgram()};
};

TEST_F(GatewayPingTest, LoopbackAnswers) {
    const int32_t answer = link.Ping("127.0.0.1", 2000);
    if (answer == GATEWAY_PING_NO_SOCKET)
        GTEST_SKIP() << "no ICMP socket: needs root, CAP_NET_RAW or net.ipv4.ping_group_range";
    EXPECT_EQ(answer, GATEWAY_PING_REPLY);
    EXPECT_EQ(link.Ping("localhost", 2000), GATEWAY_PING_REPLY);
}

TEST_F(GatewayPingTest, EmptyHostIsAnErrorOfItsOwn) {
    EXPECT_EQ(link.Ping("", 1000), GATEWAY_PING_HOST_UNKNOWN);
}

TEST_F(GatewayPingTest, WithoutAnyIcmpSocketTheAnswerSaysSo) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody)
        GTEST_SKIP() << "needs root and the user nobody";
    // Under nobody, in a namespace whose ping_group_range admits no group, neither
    // socket can be had. The whole exchange runs as nobody: the gateway serves
    // only its own user.
    const std::string ns = "tarn-gw-nosock-" + std::to_string(::getpid());
    if (!Shell("ip netns add " + ns))
        GTEST_SKIP() << "network namespaces are not available";
    Shell("ip netns exec " + ns + " sysctl -w net.ipv4.ping_group_range='1 0'");
    Shell("ip netns exec " + ns + " ip link set lo up");
    CTestRuntimeDir nobodyRuntime;
    ASSERT_EQ(::chown(nobodyRuntime.Path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    int answerPipe[2];
    ASSERT_EQ(::pipe(answerPipe), 0);
    const pid_t client = ::fork();
    if (client == 0) {
        const std::string join = "/run/netns/" + ns;
        const int nsFd = ::open(join.c_str(), O_RDONLY);
        if (nsFd < 0 || ::setns(nsFd, CLONE_NEWNET) != 0 || ::setgid(nobody->pw_gid) != 0 ||
            ::setuid(nobody->pw_uid) != 0)
            ::_exit(3);
        CGatewayLink nobodyLink(GatewayProgram());
        const int32_t answer = nobodyLink.Ping("127.0.0.1", 1000);
        nobodyLink.Quit();
        ::_exit(::write(answerPipe[1], &answer, sizeof answer) == sizeof answer ? 0 : 4);
    }
    ::close(answerPipe[1]);
    int32_t answer = 0;
    const bool read = ::read(answerPipe[0], &answer, sizeof answer) == sizeof answer;
    ::close(answerPipe[0]);
    int status = -1;
    WaitForExit(client, 20s, &status);
    Shell("ip netns del " + ns);
    ASSERT_TRUE(read) << "client status " << status;
    EXPECT_EQ(answer, GATEWAY_PING_NO_SOCKET);
}

// Two namespaces joined by a veth pair: the gateway runs in "near", the target
// address lies in "far". The parameter is net.ipv4.ping_group_range in "near":
// "1 0" forces the raw socket, "0 0" lets root use an ICMP datagram socket.
class GatewayNamespacePingTest : public ::testing::TestWithParam<const char*> {
protected:
    CTestRuntimeDir runtime;
    CGatewayLink link{GatewayProgram()};
    std::string near = "tarn-gw-near-" + std::to_string(::getpid());
    std::string far = "tarn-gw-far-" + std::to_string(::getpid());
    pid_t gateway = -1;
    bool ready = false;

    static constexpr const char* kNearAddress = "10.213.7.1";
    static constexpr const char* kFarAddress = "10.213.7.2";

    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "creating network namespaces needs root";
        if (!Shell("ip netns add " + near) || !Shell("ip netns add " + far))
            GTEST_SKIP() << "network namespaces are not available";
        const std::string inNear = "ip netns exec " + near + " ";
        const std::string inFar = "ip netns exec " + far + " ";
        ready = Shell(inNear + "ip link add veth-near type veth peer name veth-far") &&
                Shell(inNear + "ip link set veth-far netns " + far) &&
                Shell(inNear + "ip addr add " + kNearAddress + "/24 dev veth-near") &&
                Shell(inFar + "ip addr add " + kFarAddress + "/24 dev veth-far") &&
                Shell(inNear + "ip link set lo up") && Shell(inNear + "ip link set veth-near up") &&
                Shell(inFar + "ip link set lo up") && Shell(inFar + "ip link set veth-far up") &&
                Shell(inNear + "sysctl -w net.ipv4.ping_group_range='" + GetParam() + "'");
        if (!ready)
            GTEST_SKIP() << "a veth pair between namespaces cannot be set up";
        gateway = SpawnProcess({"ip", "netns", "exec", near, GatewayProgram()});
        ASSERT_TRUE(WaitForListener(runtime.SocketPath(), 5s));
    }

    void TearDown() override {
        if (gateway > 0) {
            ::kill(gateway, SIGKILL);
            WaitForExit(gateway, 5s);
        }
        Shell("ip netns del " + near);
        Shell("ip netns del " + far);
    }

    // Drops echo requests arriving in "far", with nft or else iptables.
    bool DropEchoRequestsInFar() {
        const std::string inFar = "ip netns exec " + far + " ";
        return (Shell(inFar + "nft add table inet tarn") &&
                Shell(inFar +
                      "nft 'add chain inet tarn in { type filter hook input priority 0; }'") &&
                Shell(inFar + "nft add rule inet tarn in icmp type echo-request drop")) ||
               Shell(inFar + "iptables -A INPUT -p icmp --icmp-type echo-request -j DROP");
    }
};

TEST_P(GatewayNamespacePingTest, HostThatAnswersThenDropsEchoRequests) {
    EXPECT_EQ(link.Ping(kFarAddress, 2000), GATEWAY_PING_REPLY);
    if (!DropEchoRequestsInFar())
        GTEST_SKIP() << "no packet filter (nft or iptables) in the namespace";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.Ping(kFarAddress, 700), GATEWAY_PING_NO_REPLY);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 700ms);
}

TEST_P(GatewayNamespacePingTest, AddressWithoutRouteIsUnreachable) {
    EXPECT_EQ(link.Ping("10.99.1.1", 1000), GATEWAY_PING_UNREACHABLE);
}

TEST_P(GatewayNamespacePingTest, NameThatDoesNotResolve) {
    // Inside "near" no name server is reachable, so nothing leaves the machine.
    EXPECT_EQ(link.Ping("no-such-host.invalid", 1000), GATEWAY_PING_HOST_UNKNOWN);
}

INSTANTIATE_TEST_SUITE_P(Sockets, GatewayNamespacePingTest, ::testing::Values("1 0", "0 0"),
                         [](const auto& info) {
                             return std::string(info.index == 0 ? "Raw" : "Datagram");
                         });

// A request cannot hold the gateway longer than the longest time-out an
// audition may set.
TEST(PingTimeout, IsCappedAtThirtySeconds) {
    EXPECT_EQ(CPinger::CappedTimeout(700), 700u);
    EXPECT_EQ(CPinger::CappedTimeout(30000), 30000u);
    EXPECT_EQ(CPinger::CappedTimeout(4000000000u), GATEWAY_MAX_PING_TIMEOUT_MS);
}

} // namespace
