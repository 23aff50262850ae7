#include "GatewayTestSupport.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string GatewayProgram() {
    return std::string(TARN_BIN_DIR) + "/" + GATEWAY_PROGRAM_NAME;
}

namespace {

std::string MakeTempDir(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        return {};
    return pattern + "/";
}

sockaddr_un UnixAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

} // namespace

int ConnectUnix(const std::string& path) {
    const sockaddr_un address = UnixAddress(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

int BindUnix(const std::string& path, bool listen) {
    const sockaddr_un address = UnixAddress(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        (!listen || ::listen(fd, 4) == 0))
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

CTestRuntimeDir::CTestRuntimeDir() : m_path(MakeTempDir("tarn-gateway-test-")) {
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    ::setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
}

CTestRuntimeDir::~CTestRuntimeDir() {
    const pid_t pid = GatewayPid(SocketPath());
    if (pid > 0 && pid != ::getpid()) {
        ::kill(pid, SIGKILL);
        WaitForExit(pid, 5s);
    }
    ::unsetenv("XDG_RUNTIME_DIR");
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

pid_t GatewayPid(const std::string& socketPath) {
    const int fd = ConnectUnix(socketPath);
    if (fd < 0)
        return -1;
    ucred peer{};
    socklen_t length = sizeof peer;
    const bool known = ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0;
    ::close(fd);
    return known ? peer.pid : -1;
}

bool WaitForListener(const std::string& socketPath, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (GatewayPid(socketPath) < 0) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

bool WaitForExit(pid_t pid, std::chrono::milliseconds limit, int* status) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int local = 0;
        const pid_t done = ::waitpid(pid, &local, WNOHANG);
        if (done == pid) {
            if (status)
                *status = local;
            return true;
        }
        if (done < 0 && errno == ECHILD)
            return ::kill(pid, 0) != 0;
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
}

pid_t SpawnProcess(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

std::string RequestBytes(int32_t code, const GatewayRequest& request) {
    std::string bytes(reinterpret_cast<const char*>(&code), sizeof code);
    bytes.append(reinterpret_cast<const char*>(&request), sizeof request);
    return bytes;
}

std::optional<int32_t> RawExchange(const std::string& socketPath, const std::string& bytes,
                                   bool shutDownSending) {
    const int fd = ConnectUnix(socketPath);
    if (fd < 0)
        return std::nullopt;
    std::optional<int32_t> answer;
    int32_t value = 0;
    if (::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(bytes.size()) &&
        (!shutDownSending || ::shutdown(fd, SHUT_WR) == 0) &&
        ::recv(fd, &value, sizeof value, MSG_WAITALL) == sizeof value)
        answer = value;
    ::close(fd);
    return answer;
}

bool Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

CSmtpTestServer::CSmtpTestServer(const std::vector<std::string>& options)
    : m_store(MakeTempDir("tarn-smtp-store-")) {
    if (m_store.empty() || !Shell("/usr/bin/python3 -c 'import aiosmtpd'"))
        return;
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return;
    const std::string script = std::string(TARN_SOURCE_DIR) + "/tests/gateway/smtp_server.py";
    std::vector<std::string> words = {"python3", script, m_store};
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(output[1], 1);
        ::execv("/usr/bin/python3", argv.data());
        ::_exit(127);
    }
    ::close(output[1]);
    std::string line;
    char c;
    pollfd pfd{output[0], POLLIN, 0};
    while (::poll(&pfd, 1, 10000) > 0 && ::read(output[0], &c, 1) == 1 && c != '\n')
        line += c;
    ::close(output[0]);
    m_port = static_cast<unsigned>(std::strtoul(line.c_str(), nullptr, 10));
}

CSmtpTestServer::~CSmtpTestServer() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    std::error_code ignored;
    fs::remove_all(m_store, ignored);
}

std::vector<std::string> CSmtpTestServer::Files(const std::string& extension) const {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(m_store))
        if (entry.path().extension() == extension)
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> contents;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        contents.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return contents;
}

std::vector<std::string> CSmtpTestServer::Messages() const {
    return Files(".eml");
}
std::vector<std::string> CSmtpTestServer::Envelopes() const {
    return Files(".envelope");
}

int LoopbackListener(unsigned& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 4) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

unsigned FreeLoopbackPort() {
    unsigned port = 0;
    ::close(LoopbackListener(port));
    return port;
}
