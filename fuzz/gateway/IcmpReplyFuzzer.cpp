// Feeds arbitrary datagrams to the ping's reply classification, as a raw or
// a datagram socket would deliver them. The first bytes choose the socket
// kind, the addresses and our echo's identifier and sequence number; the rest
// is the datagram. Checks that only a datagram from the target is a reply and
// that only a raw socket sees ICMP errors.
#include "FuzzSupport.h"
#include "Pinger.h"
#include "tarn/GatewayRequest.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kHeader = 1 + 4 + 4 + 2 + 2;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeader)
        return 0;
    const bool raw = (data[0] & 1) != 0;
    sockaddr_in target{};
    sockaddr_in from{};
    target.sin_family = from.sin_family = AF_INET;
    std::memcpy(&target.sin_addr.s_addr, data + 1, 4);
    std::memcpy(&from.sin_addr.s_addr, data + 5, 4);
    CPinger::EchoId echo{};
    std::memcpy(&echo.id, data + 9, 2);
    std::memcpy(&echo.sequence, data + 11, 2);
    // The datagram in a buffer of its own size, so that reading past it shows.
    const size_t length = size - kHeader;
    unsigned char* datagram = new unsigned char[length];
    std::memcpy(datagram, data + kHeader, length);
    const int32_t answer = CPinger::Classify(datagram, length, raw, target, from, echo);
    delete[] datagram;
    Require(answer == GATEWAY_PING_REPLY || answer == GATEWAY_PING_UNREACHABLE ||
            answer == GATEWAY_PING_NO_REPLY);
    if (answer == GATEWAY_PING_REPLY)
        Require(from.sin_addr.s_addr == target.sin_addr.s_addr);
    if (answer == GATEWAY_PING_UNREACHABLE)
        Require(raw);
    return 0;
}
