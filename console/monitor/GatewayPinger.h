// Pings through the gateway program.
#pragma once

#include "GatewayLink.h"
#include "IPinger.h"

class CGatewayPinger : public IPinger {
public:
    explicit CGatewayPinger(CGatewayLink& link) : m_link(link) {}
    int32_t Ping(const std::string& host, uint32_t timeoutMs) override;

private:
    CGatewayLink& m_link;
};
