#include "GatewayPinger.h"

int32_t CGatewayPinger::Ping(const std::string& host, uint32_t timeoutMs) {
    return m_link.Ping(host, timeoutMs);
}
