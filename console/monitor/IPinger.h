// One ICMP echo towards a host, as the gateway program performs it.
#pragma once

#include <cstdint>
#include <string>

class IPinger {
public:
    virtual ~IPinger() = default;
    // 0 when an echo reply came; a positive number when none came (22715) or
    // the ping failed otherwise; -1 when no gateway can be had; -2 when the
    // request itself failed or timed out.
    virtual int32_t Ping(const std::string& host, uint32_t timeoutMs) = 0;
};
