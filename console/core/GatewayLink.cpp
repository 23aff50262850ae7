#include "GatewayLink.h"

#include "AppPaths.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStartLooks = 10;
constexpr auto kStartLookInterval = std::chrono::milliseconds(500);
// The gateway may take this much longer than the operation's own time-out.
constexpr uint32_t kExchangeGraceMs = 2000;
constexpr uint32_t kMailTimeoutMs = 15000;
constexpr uint32_t kQuitTimeoutMs = 1000;

// Waits until fd is ready for events; false on time-out or error.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd pfd{fd, events, 0};
        const int ready = ::poll(&pfd, 1, static_cast<int>(std::min<long long>(left, INT_MAX)));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

enum class Direction { Send, Receive };

// Sends or receives exactly size bytes before the deadline.
bool TransferAll(int fd, Direction direction, char* data, size_t size, Clock::time_point deadline) {
    const bool sending = direction == Direction::Send;
    while (size > 0) {
        if (!WaitFor(fd, sending ? POLLOUT : POLLIN, deadline))
            return false;
        const ssize_t n =
            sending ? ::send(fd, data, size, MSG_NOSIGNAL) : ::recv(fd, data, size, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

CGatewayLink::CGatewayLink(std::string gatewayProgram)
    : m_gatewayProgram(std::move(gatewayProgram)),
      m_socketPath(GetRuntimeDirectory() + GATEWAY_SOCKET_NAME) {}

void CGatewayLink::FillField(char* field, size_t size, const std::string& text) {
    size_t length = std::min(text.size(), size - 1);
    // Never end inside a multi-byte character: step back over continuation bytes.
    while (length > 0 && length < text.size() &&
           (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, size - length);
}

int CGatewayLink::Connect() const {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (m_socketPath.size() >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, m_socketPath.c_str(), m_socketPath.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    ucred peer{};
    socklen_t length = sizeof peer;
    // Requests carry mail text: talk only to a gateway of this same user.
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || peer.uid != ::geteuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool CGatewayLink::StartGateway() const {
    if (::access(m_gatewayProgram.c_str(), X_OK) != 0)
        return false;
    // Everything the children use is prepared before fork: only async-signal-safe
    // calls may run between fork and exec in a program with threads.
    char* const argv[] = {const_cast<char*>(m_gatewayProgram.c_str()), nullptr};
    int execReport[2];
    if (::pipe2(execReport, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child == 0) {
        // Detach twice: a session of its own, and a parent that ends at once, so the
        // gateway outlives the console and never becomes the console's zombie.
        ::setsid();
        if (::fork() != 0)
            ::_exit(0);
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        // No terminal or pipe of the console stays open in the gateway.
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
        ::execve(argv[0], argv, environ);
        const int error = errno;
        if (::write(execReport[1], &error, sizeof error) < 0)
            ::_exit(126);
        ::_exit(127);
    }
    ::close(execReport[1]);
    bool started = false;
    if (child > 0) {
        ::waitpid(child, nullptr, 0);
        int error = 0;
        // Nothing to read: exec closed the pipe, so the program runs.
        started = ::read(execReport[0], &error, sizeof error) == 0;
    }
    ::close(execReport[0]);
    return started;
}

int CGatewayLink::FindOrStartGateway() const {
    int fd = Connect();
    if (fd >= 0 || !StartGateway())
        return fd;
    for (int look = 0; look < kStartLooks && fd < 0; ++look) {
        std::this_thread::sleep_for(kStartLookInterval);
        fd = Connect();
    }
    return fd;
}

int32_t CGatewayLink::Exchange(int32_t code, const GatewayRequest& request,
                               uint32_t timeoutMs) const {
    const int fd = FindOrStartGateway();
    if (fd < 0)
        return GATEWAY_UNAVAILABLE;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(uint64_t{timeoutMs} + kExchangeGraceMs);
    char message[GATEWAY_MESSAGE_SIZE];
    std::memcpy(message, &code, sizeof code);
    std::memcpy(message + sizeof code, &request, sizeof request);
    int32_t answer = GATEWAY_EXCHANGE_FAILED;
    // The gateway reads the request up to the end of our sending side.
    const bool answered = TransferAll(fd, Direction::Send, message, sizeof message, deadline) &&
                          ::shutdown(fd, SHUT_WR) == 0 &&
                          TransferAll(fd, Direction::Receive, reinterpret_cast<char*>(&answer),
                                      sizeof answer, deadline);
    ::close(fd);
    return answered ? answer : GATEWAY_EXCHANGE_FAILED;
}

int32_t CGatewayLink::SendGatewayRequest(int32_t code, uint32_t timeoutMs) {
    return Exchange(code, FilledRequest([](GatewayRequest&) {}), timeoutMs);
}

int32_t CGatewayLink::Ping(const std::string& host, uint32_t timeoutMs) {
    const GatewayRequest request = FilledRequest([&](GatewayRequest& record) {
        FillField(record.PingHost, host);
        record.PingTimeout = timeoutMs;
    });
    return Exchange(GATEWAY_PING, request, timeoutMs);
}

int32_t CGatewayLink::SendMail(const std::string& from, const std::string& server,
                               const std::string& subject, const std::string& body,
                               const std::string& to) {
    const GatewayRequest request = FilledRequest([&](GatewayRequest& record) {
        FillField(record.MailFrom, from);
        FillField(record.MailServer, server);
        FillField(record.MailSubject, subject);
        FillField(record.MailBody, body);
        FillField(record.MailTo, to);
    });
    return Exchange(GATEWAY_SEND_MAIL, request, kMailTimeoutMs);
}

int32_t CGatewayLink::Quit() {
    return SendGatewayRequest(GATEWAY_QUIT, kQuitTimeoutMs);
}
