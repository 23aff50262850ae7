#include "Pinger.h"

#include "tarn/GatewayRequest.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr size_t kEchoDataBytes = 32;
// The raw-socket option ICMP_FILTER of <linux/icmp.h>, which clashes with glibc's
// <netinet/ip_icmp.h>: a mask of ICMP types the socket does not receive.
constexpr int kIcmpFilterOption = 1;

using Clock = std::chrono::steady_clock;

class CIcmpSocket {
public:
    // An ICMP datagram socket when the user's group may open one, else a raw socket.
    CIcmpSocket() {
        m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (m_fd >= 0)
            return;
        m_fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        m_raw = true;
        if (m_fd >= 0) {
            uint32_t dropped =
                ~((1u << ICMP_ECHOREPLY) | (1u << ICMP_DEST_UNREACH) | (1u << ICMP_TIME_EXCEEDED));
            ::setsockopt(m_fd, SOL_RAW, kIcmpFilterOption, &dropped, sizeof dropped);
        }
    }
    ~CIcmpSocket() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CIcmpSocket(const CIcmpSocket&) = delete;
    CIcmpSocket& operator=(const CIcmpSocket&) = delete;

    int Fd() const { return m_fd; }
    // Raw sockets deliver the IP header and every ICMP packet of the host;
    // datagram sockets deliver only the ICMP part of this socket's own echoes.
    bool IsRaw() const { return m_raw; }

private:
    int m_fd = -1;
    bool m_raw = false;
};

using EchoId = CPinger::EchoId;

bool ResolveIPv4(std::string_view host, sockaddr_in& target) {
    if (host.empty())
        return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(std::string(host).c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    std::memcpy(&target, found->ai_addr, sizeof target);
    ::freeaddrinfo(found);
    return true;
}

uint16_t InternetChecksum(const unsigned char* data, size_t length) {
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < length; i += 2)
        sum += static_cast<uint32_t>(data[i] << 8 | data[i + 1]);
    if (length % 2)
        sum += static_cast<uint32_t>(data[length - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return htons(static_cast<uint16_t>(~sum));
}

int32_t AnswerForSocketError(int error) {
    switch (error) {
    case ENETUNREACH:
    case EHOSTUNREACH:
    case EHOSTDOWN:
    case ECONNREFUSED:
        return GATEWAY_PING_UNREACHABLE;
    default:
        return GATEWAY_PING_SEND_FAILED;
    }
}

int32_t SendEcho(const CIcmpSocket& socket, const sockaddr_in& target, EchoId echo) {
    unsigned char packet[sizeof(icmphdr) + kEchoDataBytes];
    icmphdr header{};
    header.type = ICMP_ECHO;
    header.un.echo.id = htons(echo.id);
    header.un.echo.sequence = htons(echo.sequence);
    std::memcpy(packet, &header, sizeof header);
    for (size_t i = 0; i < kEchoDataBytes; ++i)
        packet[sizeof header + i] = static_cast<unsigned char>('a' + i % 23);
    header.checksum = InternetChecksum(packet, sizeof packet);
    std::memcpy(packet, &header, sizeof header);

    const auto* address = reinterpret_cast<const sockaddr*>(&target);
    // A connected datagram socket reports ICMP errors about its echoes as receive
    // errors; a raw socket sees them as packets and stays unconnected for that.
    if (!socket.IsRaw() && ::connect(socket.Fd(), address, sizeof target) != 0)
        return AnswerForSocketError(errno);
    if (::sendto(socket.Fd(), packet, sizeof packet, 0, address, sizeof target) < 0)
        return AnswerForSocketError(errno);
    return GATEWAY_PING_REPLY;
}

int32_t AwaitReply(const CIcmpSocket& socket, const sockaddr_in& target, EchoId echo,
                   Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return GATEWAY_PING_NO_REPLY;
        pollfd pfd{socket.Fd(), POLLIN, 0};
        const int ready = ::poll(&pfd, 1, static_cast<int>(std::min<long long>(left, INT_MAX)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return GATEWAY_PING_SEND_FAILED;
        if (ready == 0)
            return GATEWAY_PING_NO_REPLY;

        unsigned char buffer[1500];
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t received = ::recvfrom(socket.Fd(), buffer, sizeof buffer, 0,
                                            reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (received < 0) {
            if (errno == EINTR)
                continue;
            return AnswerForSocketError(errno);
        }
        const int32_t answer = CPinger::Classify(buffer, static_cast<size_t>(received),
                                                 socket.IsRaw(), target, from, echo);
        if (answer != GATEWAY_PING_NO_REPLY)
            return answer;
    }
}

} // namespace

uint32_t CPinger::CappedTimeout(uint32_t timeoutMs) {
    return std::min(timeoutMs, GATEWAY_MAX_PING_TIMEOUT_MS);
}

int32_t CPinger::Ping(std::string_view host, uint32_t timeoutMs) {
    sockaddr_in target{};
    if (!ResolveIPv4(host, target))
        return GATEWAY_PING_HOST_UNKNOWN;
    const auto deadline = Clock::now() + std::chrono::milliseconds(CappedTimeout(timeoutMs));

    CIcmpSocket socket;
    if (socket.Fd() < 0)
        return GATEWAY_PING_NO_SOCKET;
    // Pings run side by side on the gateway's workers; a raw socket sees the
    // replies of all of them, told apart by their sequence numbers.
    static std::atomic<uint16_t> nextSequence{1};
    const EchoId echo{static_cast<uint16_t>(::getpid()), nextSequence++};

    const int32_t sent = SendEcho(socket, target, echo);
    if (sent != GATEWAY_PING_REPLY)
        return sent;
    return AwaitReply(socket, target, echo, deadline);
}

int32_t CPinger::Classify(const unsigned char* data, size_t length, bool raw,
                          const sockaddr_in& target, const sockaddr_in& from, EchoId echo) {
    if (raw) {
        if (length < sizeof(iphdr))
            return GATEWAY_PING_NO_REPLY;
        const size_t ipLength = static_cast<size_t>(data[0] & 0x0F) * 4;
        if (length < ipLength + sizeof(icmphdr))
            return GATEWAY_PING_NO_REPLY;
        data += ipLength;
        length -= ipLength;
    } else if (length < sizeof(icmphdr)) {
        return GATEWAY_PING_NO_REPLY;
    }
    icmphdr header;
    std::memcpy(&header, data, sizeof header);
    // The kernel rewrites the identifier of datagram sockets and filters on it.
    const bool idMatches = !raw || ntohs(header.un.echo.id) == echo.id;
    if (header.type == ICMP_ECHOREPLY) {
        const bool fromTarget = from.sin_addr.s_addr == target.sin_addr.s_addr;
        return fromTarget && idMatches && ntohs(header.un.echo.sequence) == echo.sequence
                   ? GATEWAY_PING_REPLY
                   : GATEWAY_PING_NO_REPLY;
    }
    if (!raw || (header.type != ICMP_DEST_UNREACH && header.type != ICMP_TIME_EXCEEDED))
        return GATEWAY_PING_NO_REPLY;
    // An ICMP error quotes the IP header and the first 8 bytes of our echo.
    const unsigned char* quoted = data + sizeof header;
    const size_t quotedLength = length - sizeof header;
    if (quotedLength < sizeof(iphdr))
        return GATEWAY_PING_NO_REPLY;
    iphdr quotedIp;
    std::memcpy(&quotedIp, quoted, sizeof quotedIp);
    const size_t quotedIpLength = static_cast<size_t>(quotedIp.ihl) * 4;
    if (quotedLength < quotedIpLength + sizeof(icmphdr))
        return GATEWAY_PING_NO_REPLY;
    icmphdr quotedEcho;
    std::memcpy(&quotedEcho, quoted + quotedIpLength, sizeof quotedEcho);
    const bool ours = quotedIp.daddr == target.sin_addr.s_addr && quotedEcho.type == ICMP_ECHO &&
                      ntohs(quotedEcho.un.echo.id) == echo.id &&
                      ntohs(quotedEcho.un.echo.sequence) == echo.sequence;
    return ours ? GATEWAY_PING_UNREACHABLE : GATEWAY_PING_NO_REPLY;
}
