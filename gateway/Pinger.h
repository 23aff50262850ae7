// ICMP echo ("ping") of one IPv4 host, as the gateway answers it.
#pragma once

#include <cstdint>
#include <netinet/in.h>
#include <string_view>

class CPinger {
public:
    // What tells our echo from others: the identifier and the sequence number.
    struct EchoId {
        uint16_t id;
        uint16_t sequence;
    };

    // Sends one echo of 32 data bytes to host (a name or a dotted address) and
    // waits up to timeoutMs for the reply. Answers GATEWAY_PING_REPLY (0),
    // GATEWAY_PING_NO_REPLY or one of the other positive GATEWAY_PING_* numbers.
    // Uses an unprivileged ICMP datagram socket where the system allows it
    // (net.ipv4.ping_group_range), else a raw socket, which needs CAP_NET_RAW.
    static int32_t Ping(std::string_view host, uint32_t timeoutMs);
    // The time-out a ping waits: at most GATEWAY_MAX_PING_TIMEOUT_MS, so that
    // no request holds the gateway longer.
    static uint32_t CappedTimeout(uint32_t timeoutMs);
    // Looks at one received datagram (with its IP header when raw). Answers
    // GATEWAY_PING_REPLY for the reply to this echo from target,
    // GATEWAY_PING_UNREACHABLE for an ICMP error about it, and
    // GATEWAY_PING_NO_REPLY for anything else (another program's traffic).
    static int32_t Classify(const unsigned char* data, size_t length, bool raw,
                            const sockaddr_in& target, const sockaddr_in& from, EchoId echo);
};
