// A message from SendMailMessage through the outbox and a real mail transfer
// agent (msmtp as the submission command) to an SMTP server on loopback
// (aiosmtpd storing into a maildir). Skipped when either cannot run here.
#include "../LoopbackPort.h"
#include "MailTestSupport.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr const char* kMsmtp = "/usr/bin/msmtp";
// Debian's interpreter, which sees Debian's Python packages.
constexpr const char* kPython = "/usr/bin/python3";

bool Accepts(int port) {
    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected =
        ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(client);
    return connected;
}

// aiosmtpd on 127.0.0.1:port storing every message into a maildir.
class CSmtpServer {
public:
    CSmtpServer(int port, const std::string& maildir, const std::string& log) : m_port(port) {
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, log.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
        const std::string listen = "127.0.0.1:" + std::to_string(port);
        const char* argv[] = {kPython,
                              "-m",
                              "aiosmtpd",
                              "-n",
                              "-l",
                              listen.c_str(),
                              "-c",
                              "aiosmtpd.handlers.Mailbox",
                              maildir.c_str(),
                              nullptr};
        if (::posix_spawn(&m_pid, kPython, &files, nullptr, const_cast<char**>(argv), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&files);
    }
    ~CSmtpServer() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    // Waits until the server takes connections; false when it died or never did.
    bool WaitReady() const {
        for (int attempt = 0; m_pid > 0 && attempt < 200; ++attempt) {
            if (Accepts(m_port))
                return true;
            if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

private:
    int m_port;
    pid_t m_pid = -1;
};

std::vector<std::string> Delivered(const std::string& maildir) {
    std::vector<std::string> messages;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(maildir + "/new", error))
        messages.push_back(ReadFile(entry.path().string()));
    return messages;
}

TEST(SendMailMtaTest, MessageReachesAnSmtpServerThroughMsmtpAfterAFailedFirstTry) {
    if (::access(kMsmtp, X_OK) != 0)
        GTEST_SKIP() << "msmtp is not installed (Debian package msmtp)";
    CMailTestSystem mail;
    const int port = FreeLoopbackPort();
    ASSERT_GT(port, 0);
    const std::string config = mail.Dir() + "/msmtprc";
    WriteFile(config, "defaults\nauth off\ntls off\n"
                      "account default\nhost 127.0.0.1\nport " +
                          std::to_string(port) +
                          "\n"
                          "from monitor@example.org\n");
    ::chmod(config.c_str(), 0600);
    auto keys = CMailTestSystem::StandardKeys(mail.Dir());
    keys[4] = std::string("Submit=") + kMsmtp + " -C " + config + " -t";
    mail.WriteProfile(keys);

    // No server yet: msmtp fails and the message waits in the outbox.
    TestMessage first("Bob", "First alarm", "Disk full on srv1.\n");
    ASSERT_EQ(SendMailMessage(&first.info), SENDMAIL_OK);
    ASSERT_EQ(mail.Waiting().size(), 1u);

    const std::string maildir = mail.Dir() + "/maildir";
    CSmtpServer server(port, maildir, mail.Dir() + "/smtpd.log");
    if (!server.WaitReady())
        GTEST_SKIP() << "aiosmtpd did not start on 127.0.0.1:" << port
                     << " (Debian package python3-aiosmtpd): "
                     << ReadFile(mail.Dir() + "/smtpd.log");

    TestMessage second("Alice Example;carol@example.net", "Zweiter Alarm: St\xC3\xB6rung",
                       "Gr\xC3\xBC\xC3\x9F"
                       "e\n");
    ASSERT_EQ(SendMailMessage(&second.info), SENDMAIL_OK);
    EXPECT_TRUE(mail.Waiting().empty()) << "both messages were accepted";

    const auto delivered = Delivered(maildir);
    ASSERT_EQ(delivered.size(), 2u);
    const std::string* firstMail = nullptr;
    const std::string* secondMail = nullptr;
    for (const std::string& message : delivered)
        (message.find("Subject: First alarm\n") != std::string::npos ? firstMail : secondMail) =
            &message;
    ASSERT_TRUE(firstMail && secondMail);
    EXPECT_NE(firstMail->find("X-RcptTo: bob@example.org"), std::string::npos) << *firstMail;
    EXPECT_NE(firstMail->find("X-MailFrom: monitor@example.org"), std::string::npos);
    EXPECT_TRUE(firstMail->ends_with("\n\nDisk full on srv1.\n")) << *firstMail;
    EXPECT_NE(secondMail->find("X-RcptTo: alice@example.org, carol@example.net"), std::string::npos)
        << *secondMail;
    EXPECT_NE(secondMail->find("Subject: =?UTF-8?B?WndlaXRlciBBbGFybTogU3TDtnJ1bmc=?="),
              std::string::npos)
        << *secondMail;
    EXPECT_NE(secondMail->find("\n\nGr=C3=BC=C3=9Fe\n"), std::string::npos) << *secondMail;
}

} // namespace
