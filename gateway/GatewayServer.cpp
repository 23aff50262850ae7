#include "GatewayServer.h"

#include "Pinger.h"
#include "SafeDirectory.h"
#include "SmtpSender.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// How long a connected client may take to deliver its request.
constexpr int kRequestReadTimeoutMs = 2000;

// True when the client has sent more than it should have: bytes already wait
// behind the request.
bool MoreBytesWaiting(int fd) {
    char extra;
    ssize_t n;
    do {
        n = ::recv(fd, &extra, 1, MSG_PEEK | MSG_DONTWAIT);
    } while (n < 0 && errno == EINTR);
    return n > 0;
}

// Reads until a whole request has arrived or the client shuts down its sending
// side, whichever comes first, for at most the time-out. A client that sends
// the request and waits for the answer without shutting down is answered too.
// Returns the byte count (GATEWAY_MESSAGE_SIZE + 1 when bytes follow a whole
// request), or -1 on time-out or error.
ssize_t ReadRequest(int fd, char* buffer) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kRequestReadTimeoutMs);
    size_t total = 0;
    while (total < GATEWAY_MESSAGE_SIZE) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline -
                                                                 std::chrono::steady_clock::now());
        pollfd pfd{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&pfd, 1, static_cast<int>(left.count())) <= 0)
            return -1;
        ssize_t n = ::recv(fd, buffer + total, GATEWAY_MESSAGE_SIZE - total, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            return static_cast<ssize_t>(total);
        total += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(MoreBytesWaiting(fd) ? total + 1 : total);
}

void SendAnswer(int fd, int32_t answer) {
    // Little-endian on the wire, which is the machine's order (see the header).
    ::send(fd, &answer, sizeof answer, MSG_NOSIGNAL);
}

} // namespace

CGatewayServer::CGatewayServer(std::string runtimeDirectory)
    : m_socketPath(runtimeDirectory + GATEWAY_SOCKET_NAME),
      m_lockPath(runtimeDirectory + "TARN_Gateway.lock") {}

CGatewayServer::~CGatewayServer() {
    if (m_listenFd >= 0) {
        // Still holding the lock, so no other gateway has bound this path.
        ::unlink(m_socketPath.c_str());
        ::close(m_listenFd);
    }
    // The lock file stays: removing it would let two gateways lock different files.
    if (m_lockFd >= 0)
        ::close(m_lockFd);
    for (int fd : m_stopPipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

CGatewayServer::ListenResult CGatewayServer::Listen() {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (m_socketPath.size() >= sizeof address.sun_path)
        return ListenResult::Failed;
    std::memcpy(address.sun_path, m_socketPath.c_str(), m_socketPath.size() + 1);

    // Never through a link another account planted under the name.
    if (OpenRegularFile(m_lockPath, O_RDWR | O_CREAT, m_lockFd) != SafeFileStatus::Ok)
        return ListenResult::Failed;
    if (::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? ListenResult::AlreadyRunning : ListenResult::Failed;

    // Whoever held the lock before is gone; a socket file left behind is stale.
    ::unlink(m_socketPath.c_str());
    // Non-blocking: all workers wait for the same socket, and only one of them
    // gets each connection.
    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listenFd < 0 || ::pipe2(m_stopPipe, O_CLOEXEC) != 0)
        return ListenResult::Failed;
    const mode_t oldMask = ::umask(0077);
    const int bound = ::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::umask(oldMask);
    if (bound != 0 || ::listen(m_listenFd, 16) != 0) {
        ::close(m_listenFd);
        m_listenFd = -1;
        return ListenResult::Failed;
    }
    return ListenResult::Listening;
}

void CGatewayServer::Run() {
    std::vector<std::thread> workers;
    for (int i = 1; i < kWorkerCount; ++i)
        workers.emplace_back(&CGatewayServer::ServeConnections, this);
    ServeConnections();
    for (std::thread& worker : workers)
        worker.join();
}

void CGatewayServer::ServeConnections() {
    while (!m_stopping) {
        pollfd ready[] = {{m_listenFd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (::poll(ready, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (ready[1].revents != 0)
            break;
        const int connection = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            // Another worker took it, or the client gave up; a full descriptor
            // table clears as the other workers close their connections.
            if (errno == EAGAIN || errno == EINTR || errno == ECONNABORTED || errno == EMFILE ||
                errno == ENFILE)
                continue;
            break;
        }
        const bool goOn = Serve(connection);
        ::close(connection);
        if (!goOn)
            break;
    }
    Stop();
}

void CGatewayServer::Stop() {
    if (m_stopping.exchange(true))
        return;
    // New clients find no gateway at once, not one that no longer answers.
    ::unlink(m_socketPath.c_str());
    // Nothing is read from the pipe: it stays readable for every worker.
    const char byte = 0;
    while (::write(m_stopPipe[1], &byte, 1) < 0 && errno == EINTR) {
    }
}

bool CGatewayServer::IsOwnUser(int connection) const {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == ::geteuid();
}

bool CGatewayServer::Serve(int connection) {
    // A peer of another user gets no answer and changes nothing.
    if (!IsOwnUser(connection))
        return true;

    char message[GATEWAY_MESSAGE_SIZE];
    const ssize_t size = ReadRequest(connection, message);
    if (size < 0)
        return true;
    if (static_cast<size_t>(size) != GATEWAY_MESSAGE_SIZE) {
        SendAnswer(connection, GATEWAY_ANSWER_UNKNOWN);
        return true;
    }
    int32_t code;
    GatewayRequest request;
    std::memcpy(&code, message, sizeof code);
    std::memcpy(&request, message + sizeof code, sizeof request);
    SendAnswer(connection, Handle(code, request));
    return code != GATEWAY_QUIT;
}

int32_t CGatewayServer::Handle(int32_t code, const GatewayRequest& request) {
    switch (code) {
    case GATEWAY_QUIT:
        return GATEWAY_ANSWER_QUIT;
    case GATEWAY_PING:
        return CPinger::Ping(GatewayFieldText(request.PingHost), request.PingTimeout);
    case GATEWAY_SEND_MAIL:
        return CSmtpSender::Send(request);
    default:
        return GATEWAY_ANSWER_UNKNOWN;
    }
}
