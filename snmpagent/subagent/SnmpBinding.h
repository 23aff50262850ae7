// Variable bindings and traps as the sub-agent passes them between the
// extension agent and net-snmp. Types are the BER tags both sides share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class ERequest { Get, GetNext, Set };

struct SBinding {
    std::vector<uint32_t> name;
    uint8_t type = 0x05;          // NULL
    int64_t number = 0;           // INTEGER, Counter32, Gauge32, TimeTicks
    std::string bytes;            // OCTET STRING, IpAddress, Opaque
    std::vector<uint32_t> object; // OBJECT IDENTIFIER
};

struct STrap {
    std::vector<uint32_t> enterprise;
    int32_t genericTrap = 0;
    int32_t specificTrap = 0;
    uint32_t timeStamp = 0; // milliseconds since the time-zero reference
    std::vector<SBinding> bindings;
};

// SNMPv1 error statuses as the extension agent reports them.
inline constexpr int kStatusNoError = 0;
inline constexpr int kStatusNoSuchName = 2;
inline constexpr int kStatusBadValue = 3;
inline constexpr int kStatusReadOnly = 4;
inline constexpr int kStatusGenErr = 5;
