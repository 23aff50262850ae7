#include "SnmpStackFixture.h"

#include "../LoopbackPort.h"
#include "../WaitFor.h"

#include "tarn/TARNMemStruct.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

void CPeer::Stop() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        if (!WaitFor([this] { return ::waitpid(m_pid, nullptr, WNOHANG) == m_pid; }, 5)) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        m_pid = -1;
    }
}

void CPeer::Start(const std::vector<std::string>& argv, const std::string& log) {
    m_pid = ::fork();
    if (m_pid == 0) {
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 1);
        ::dup2(fd, 2);
        std::vector<char*> args;
        for (const auto& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
}

bool CPeer::Running() const {
    return m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == 0;
}

void SnmpStack::SetUp() {
    for (const char* program : {"/usr/sbin/snmpd", "/usr/sbin/snmptrapd"})
        if (::access(program, X_OK) != 0)
            GTEST_SKIP() << program << " is not installed (packages snmpd, snmptrapd)";
    ChannelTest::SetUp();
    const std::string suffix = "_chs" + std::to_string(::getpid());
    ::setenv(TARN_SNMP_NAME_SUFFIX_ENV, suffix.c_str(), 1);
    ::setenv("MIBS", "", 1);
    ::setenv("SNMPCONFPATH", m_dir.c_str(), 1);
    ::setenv("SNMP_PERSISTENT_DIR", (m_dir + "persist").c_str(), 1);
    const int trapPort = FreeLoopbackPort(SOCK_DGRAM), agentPort = FreeLoopbackPort(SOCK_DGRAM);
    ASSERT_TRUE(trapPort && agentPort);
    WriteFile("snmptrapd.conf", "disableAuthorization yes\n");
    m_trapReceiver.Start({"/usr/sbin/snmptrapd", "-f", "-C", "-c", m_dir + "snmptrapd.conf", "-Lf",
                          m_dir + "traps.log", "-On", "udp:127.0.0.1:" + std::to_string(trapPort)},
                         m_dir + "snmptrapd.log");
    WriteFile("snmpd.conf", "agentaddress udp:127.0.0.1:" + std::to_string(agentPort) +
                                "\nmaster agentx\nagentXSocket " + m_dir + "agentx.sock\n" +
                                "trapsink 127.0.0.1:" + std::to_string(trapPort) +
                                " public\nv1trapaddress 127.0.0.1\n");
    m_master.Start({"/usr/sbin/snmpd", "-f", "-Lo", "-C", "-c", m_dir + "snmpd.conf"},
                   m_dir + "snmpd.log");
    if (!WaitFor(
            [this] {
                return ::access((m_dir + "agentx.sock").c_str(), F_OK) == 0 || !m_master.Running();
            },
            15) ||
        !m_master.Running())
        GTEST_SKIP() << "snmpd did not start: " << ReadWholeFile(m_dir + "snmpd.log");
    m_subAgent.Start({TARN_BIN_DIR "/tarn-snmp-subagent", "-f", "-x", m_dir + "agentx.sock"},
                     m_dir + "subagent.log");
    const std::string region = std::string(TARN_SHARED_MEM_NAME) + suffix;
    ASSERT_TRUE(WaitFor([&] { return ::access(("/dev/shm" + region).c_str(), F_OK) == 0; }, 15))
        << "the sub-agent never created its trap slot: " << ReadWholeFile(m_dir + "subagent.log");
}

void SnmpStack::TearDown() {
    m_subAgent.Stop();
    m_master.Stop();
    m_trapReceiver.Stop();
    ::unsetenv(TARN_SNMP_NAME_SUFFIX_ENV);
    ChannelTest::TearDown();
}

void SnmpStack::WriteFile(const std::string& name, const std::string& content) const {
    std::ofstream(m_dir + name) << content;
}
