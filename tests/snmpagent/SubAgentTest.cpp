// tarn-snmp-subagent between a real snmpd (AgentX master) and snmptrapd, all
// on loopback high ports with their files in a temporary directory; the
// managers are net-snmp's command-line tools.
#include "SnmpTestSupport.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <semaphore.h>
#include <sstream>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kRegion = "1.3.6.1.4.1.12";

bool HaveProgram(const std::string& path) {
    return access(path.c_str(), X_OK) == 0;
}

// A UDP port on loopback that nobody uses right now.
int FreeUdpPort() {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);
    return port;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits for condition, ten seconds unless told otherwise.
template <typename Condition> bool WaitFor(Condition condition, std::chrono::seconds limit = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// A child process with its output in a file; stopped when it goes.
class CChild {
public:
    ~CChild() { Stop(); }

    bool Start(const std::vector<std::string>& arguments, const fs::path& output) {
        m_pid = fork();
        if (m_pid == 0) {
            const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(fd, STDOUT_FILENO);
            dup2(fd, STDERR_FILENO);
            std::vector<char*> argv;
            for (const std::string& argument : arguments) {
                argv.push_back(const_cast<char*>(argument.c_str()));
            }
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        return m_pid > 0;
    }
    void Kill() {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &m_status, 0);
        m_pid = 0;
    }
    // Reaps the child once it has ended, so that no later signal can reach
    // another process that got its number.
    bool Running() {
        if (m_pid > 0 && waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
            m_pid = 0;
        }
        return m_pid > 0;
    }
    // The exit status of an ended child, -1 while it runs or when a signal ended it.
    int ExitStatus() { return !Running() && WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1; }
    // SIGTERM, then SIGKILL when it does not end within ten seconds.
    void Stop() {
        if (m_pid <= 0) {
            return;
        }
        kill(m_pid, SIGTERM);
        if (!WaitFor([this] { return waitpid(m_pid, &m_status, WNOHANG) == m_pid; })) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &m_status, 0);
        }
        m_pid = 0;
    }

private:
    pid_t m_pid = 0;
    int m_status = 0;
};

class SubAgent : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* program : {"/usr/sbin/snmpd", "/usr/sbin/snmptrapd", "/usr/bin/snmpget"}) {
            if (!HaveProgram(program)) {
                GTEST_SKIP() << program << " is not installed (packages snmpd, snmptrapd, snmp)";
            }
        }
        char pattern[] = "/tmp/tarn-snmp-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_suffix = UseOwnObjectNames();
        // Keep every net-snmp program of the test away from the machine's
        // settings, MIB files and persistent files.
        setenv("MIBS", "", 1);
        setenv("SNMPCONFPATH", m_dir.c_str(), 1);
        setenv("SNMP_PERSISTENT_DIR", (m_dir / "persist").c_str(), 1);
        m_agentPort = FreeUdpPort();
        m_trapPort = FreeUdpPort();
        ASSERT_NE(m_agentPort, 0);
        ASSERT_NE(m_trapPort, 0);
        StartTrapReceiver();
        StartMaster();
        StartSubAgent();
    }

    void TearDown() override {
        m_subAgent.Stop();
        m_master.Stop();
        m_trapReceiver.Stop();
        if (!m_dir.empty()) {
            if (HasFailure()) {
                for (const char* log : {"snmpd.log", "subagent.log", "snmptrapd.log"}) {
                    std::printf("--- %s\n%s\n", log, ReadFile(m_dir / log).c_str());
                }
            }
            fs::remove_all(m_dir);
        }
    }

    void StartTrapReceiver() {
        std::ofstream(m_dir / "snmptrapd.conf") << "disableAuthorization yes\n";
        ASSERT_TRUE(
            m_trapReceiver.Start({"/usr/sbin/snmptrapd", "-f", "-C", "-c", m_dir / "snmptrapd.conf",
                                  "-Lf", m_dir / "traps.log", "-On", "-p", m_dir / "snmptrapd.pid",
                                  "udp:127.0.0.1:" + std::to_string(m_trapPort)},
                                 m_dir / "snmptrapd.log"));
    }

    void StartMaster() {
        std::ofstream(m_dir / "snmpd.conf")
            << "agentaddress udp:127.0.0.1:" << m_agentPort << "\n"
            << "master agentx\n"
            << "agentXSocket " << (m_dir / "agentx.sock").string() << "\n"
            << "rocommunity public 127.0.0.1\n"
            << "rwcommunity private 127.0.0.1\n"
            << "trapsink 127.0.0.1:" << m_trapPort << " public\n"
            << "v1trapaddress 127.0.0.1\n";
        ASSERT_TRUE(m_master.Start({"/usr/sbin/snmpd", "-f", "-Lo", "-C", "-c",
                                    m_dir / "snmpd.conf", "-p", m_dir / "snmpd.pid"},
                                   m_dir / "snmpd.log"));
        if (!WaitFor([this] { return fs::exists(m_dir / "agentx.sock") || !m_master.Running(); }) ||
            !m_master.Running()) {
            GTEST_SKIP() << "snmpd did not start: " << ReadFile(m_dir / "snmpd.log");
        }
    }

    void StartSubAgent() {
        ASSERT_TRUE(m_subAgent.Start(
            {TARN_BIN_DIR "/tarn-snmp-subagent", "-f", "-x", m_dir / "agentx.sock"},
            m_dir / "subagent.log"));
        ASSERT_TRUE(WaitFor([this] {
            return Tool("snmpget", "-v2c -c public", kRegion + ".2.1.0").find("velda") !=
                   std::string::npos;
        })) << "the sub-agent's region never answered";
    }

    // Runs a net-snmp tool against the master: options, the agent's address,
    // then the OIDs (and values); its output with errors.
    std::string Tool(const std::string& tool, const std::string& options,
                     const std::string& oids) const {
        const std::string command = "/usr/bin/" + tool + " -On -t 2 -r 1 " + options +
                                    " 127.0.0.1:" + std::to_string(m_agentPort) + " " + oids +
                                    " 2>&1";
        std::string output;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[512];
            while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
                output += buffer;
            }
            pclose(pipe);
        }
        return output;
    }

    fs::path m_dir;
    std::string m_suffix;
    int m_agentPort = 0;
    int m_trapPort = 0;
    CChild m_trapReceiver;
    CChild m_master;
    CChild m_subAgent;
};

TEST_F(SubAgent, WalkShowsTheFiveVariables) {
    const std::string expected =
        ".1.3.6.1.4.1.12.2.1.0 = STRING: \"velda\"\n"
        ".1.3.6.1.4.1.12.2.2.0 = STRING: \"SNMP Extension Agent for TARN!\"\n"
        ".1.3.6.1.4.1.12.2.3.0 = INTEGER: 1\n"
        ".1.3.6.1.4.1.12.2.4.0 = INTEGER: 2\n"
        ".1.3.6.1.4.1.12.2.5.0 = INTEGER: 3\n";
    EXPECT_EQ(Tool("snmpwalk", "-v2c -c public", kRegion), expected);
    EXPECT_EQ(Tool("snmpwalk", "-v1 -c public", kRegion), expected);
    EXPECT_EQ(Tool("snmpget", "-v1 -c public", kRegion + ".2.2.0"),
              ".1.3.6.1.4.1.12.2.2.0 = STRING: \"SNMP Extension Agent for TARN!\"\n");
    const std::string next = Tool("snmpgetnext", "-v2c -c public", kRegion + ".2.5.0");
    EXPECT_EQ(next.find(".1.3.6.1.4.1.12."), std::string::npos) << next;
    EXPECT_NE(Tool("snmpget", "-v2c -c public", kRegion + ".2.6.0").find("No Such Object"),
              std::string::npos);
}

TEST_F(SubAgent, SetsKeepTheRangesAndAreAllOrNothing) {
    const std::string second = kRegion + ".2.4.0";
    EXPECT_NE(Tool("snmpset", "-v1 -c private", second + " i 11").find("(badValue)"),
              std::string::npos);
    EXPECT_EQ(Tool("snmpset", "-v1 -c private", second + " i 10"),
              ".1.3.6.1.4.1.12.2.4.0 = INTEGER: 10\n");
    EXPECT_EQ(Tool("snmpget", "-v1 -c public", second), ".1.3.6.1.4.1.12.2.4.0 = INTEGER: 10\n");
    EXPECT_NE(Tool("snmpset", "-v1 -c private", second + " s zehn").find("(badValue)"),
              std::string::npos);
    EXPECT_NE(Tool("snmpset", "-v1 -c private", kRegion + ".2.1.0 s x").find("(noSuchName)"),
              std::string::npos);
    EXPECT_NE(Tool("snmpset", "-v2c -c private", kRegion + ".2.1.0 s x").find("notWritable"),
              std::string::npos);

    const std::string failing =
        Tool("snmpset", "-v1 -c private",
             kRegion + ".2.3.0 i 2 " + kRegion + ".2.5.0 i 9 " + second + " i 1");
    EXPECT_NE(failing.find("(badValue)"), std::string::npos) << failing;
    EXPECT_NE(failing.find("Failed object: .1.3.6.1.4.1.12.2.5.0"), std::string::npos) << failing;
    EXPECT_EQ(Tool("snmpget", "-v1 -c public", kRegion + ".2.3.0 " + second),
              ".1.3.6.1.4.1.12.2.3.0 = INTEGER: 1\n.1.3.6.1.4.1.12.2.4.0 = INTEGER: 10\n");
}

TEST_F(SubAgent, ATrapFromTheConsoleArrivesAtTheTrapReceiver) {
    ASSERT_EQ(SnmpSendTrap("1.3.6.1.4.1.0", 2, "1.3.6.1.4.1.1.0", "Dienst auf PC7 ausgefallen"), 1);
    const fs::path traps = m_dir / "traps.log";
    ASSERT_TRUE(WaitFor([&] {
        return ReadFile(traps).find("Dienst auf PC7") != std::string::npos;
    })) << ReadFile(traps);
    const std::string log = ReadFile(traps);
    EXPECT_NE(log.find("TRAP, SNMP v1"), std::string::npos) << log;
    EXPECT_NE(log.find(".1.3.6.1.4.1.0 Enterprise Specific Trap (2)"), std::string::npos) << log;
    EXPECT_NE(log.find(".1.3.6.1.4.1.1.0 = STRING: \"Dienst auf PC7 ausgefallen\""),
              std::string::npos)
        << log;
}

TEST_F(SubAgent, TrapsHandedOverWhileSnmpdIsAwayAreSentWhenItIsBack) {
    m_master.Stop();
    ASSERT_EQ(SnmpSendTrap("1.3.6.1.4.1.0", 3, "1.3.6.1.4.1.1.0", "waehrend snmpd fehlt"), 1);
    StartMaster();
    // The sub-agent looks for its master every five seconds.
    EXPECT_TRUE(WaitFor(
        [&] { return ReadFile(m_dir / "traps.log").find("snmpd fehlt") != std::string::npos; },
        30s));
    const std::string log = ReadFile(m_dir / "traps.log");
    EXPECT_NE(log.find(".1.3.6.1.4.1.0 Enterprise Specific Trap (3)"), std::string::npos) << log;
    EXPECT_TRUE(WaitFor([this] {
        return Tool("snmpget", "-v2c -c public", kRegion + ".2.1.0").find("velda") !=
               std::string::npos;
    })) << "the region is registered again";
}

TEST_F(SubAgent, StoppingTheSubAgentRemovesTheSharedObjects) {
    m_subAgent.Stop();
    EXPECT_EQ(SnmpSendTrap("1.3.6.1.4.1.0", 1, "1.3.6.1.4.1.1.0", "m"), 0);
    EXPECT_EQ(shm_unlink((TARN_SHARED_MEM_NAME + m_suffix).c_str()), -1);
    EXPECT_EQ(sem_unlink((TARN_TRAP_SEMAPHORE_NAME + m_suffix).c_str()), -1);
}

TEST_F(SubAgent, AfterACrashOfTheSubAgentSendingFails) {
    m_subAgent.Kill();
    EXPECT_EQ(SnmpSendTrap("1.3.6.1.4.1.0", 1, "1.3.6.1.4.1.1.0", "m"), 0);
    // The objects it left behind; the next start replaces them.
    EXPECT_EQ(shm_unlink((TARN_SHARED_MEM_NAME + m_suffix).c_str()), 0);
    EXPECT_EQ(sem_unlink((TARN_TRAP_SEMAPHORE_NAME + m_suffix).c_str()), 0);
}

// Three traps handed over back to back: each waits until the sub-agent has
// taken the one before, so none overwrites another and all three arrive.
TEST_F(SubAgent, ThreeTrapsBackToBackAllArrive) {
    for (const char* message : {"erste Meldung", "zweite Meldung", "dritte Meldung"}) {
        EXPECT_EQ(SnmpSendTrap("1.3.6.1.4.1.0", 1, "1.3.6.1.4.1.1.0", message), 1) << message;
    }
    const fs::path traps = m_dir / "traps.log";
    EXPECT_TRUE(WaitFor([&] {
        const std::string log = ReadFile(traps);
        return log.find("erste Meldung") != std::string::npos &&
               log.find("zweite Meldung") != std::string::npos &&
               log.find("dritte Meldung") != std::string::npos;
    })) << ReadFile(traps);
}

// Another account planted the trap objects before the sub-agent started: the
// sub-agent, under an account that cannot remove them, refuses to run and
// says why, instead of running with traps that go nowhere or to the attacker.
TEST(SubAgentStart, RefusedLoudlyWhenAnotherAccountHoldsTheTrapObjects) {
    if (geteuid() != 0 || !HaveProgram("/usr/bin/setpriv")) {
        GTEST_SKIP() << "running as other accounts needs root and setpriv";
    }
    UseOwnObjectNames();
    char pattern[] = "/tmp/tarn-snmp-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    setenv("MIBS", "", 1);
    setenv("SNMPCONFPATH", dir.c_str(), 1);
    CPlantedObjects planted(CPlantedObjects::kNobody, 65534, 0666);
    ASSERT_TRUE(planted.Planted());

    CChild subAgent;
    ASSERT_TRUE(
        subAgent.Start({"/usr/bin/setpriv", "--reuid=daemon", "--regid=daemon", "--clear-groups",
                        TARN_BIN_DIR "/tarn-snmp-subagent", "-f", "-x", dir / "agentx.sock"},
                       dir / "subagent.log"));
    EXPECT_TRUE(WaitFor([&] { return !subAgent.Running(); })) << "the sub-agent keeps running";
    EXPECT_EQ(subAgent.ExitStatus(), 1);
    const std::string log = ReadFile(dir / "subagent.log");
    EXPECT_NE(log.find("traps cannot be handed over"), std::string::npos) << log;
    EXPECT_NE(log.find("belongs to uid 65534"), std::string::npos) << log;
    EXPECT_EQ(CPlantedObjects::SemaphoreCount(), 0);
    fs::remove_all(dir);
}

} // namespace
