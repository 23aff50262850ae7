// Feeds arbitrary bytes as the shared trap slot (zero filled when short, no
// terminators promised) to the agent's reading of it, and as dotted text to
// the OID conversion. Checks that a trap comes once per signal, that its OIDs
// have at most 16 components and that its message is the slot's text of at
// most 255 characters.
#include "FuzzSupport.h"
#include "OidText.h"
#include "TrapState.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TARNMemStruct region;
    std::memset(&region, 0, sizeof region);
    std::memcpy(&region, data, std::min(size, sizeof region));
    CTrapState state(0);
    for (int signal = 0; signal < 2; ++signal) {
        AsnObjectIdentifier enterprise{};
        AsnInteger32 generic = 0;
        AsnInteger32 specific = 0;
        AsnTimeticks stamp = 0;
        SnmpVarBindList bindings{};
        Require(state.Next(&region, &enterprise, &generic, &specific, &stamp, &bindings));
        Require(enterprise.idLength >= 1 && enterprise.idLength <= kMaxOidComponents);
        Require(generic == SNMP_GENERICTRAP_ENTERSPECIFIC && specific == region.lSpecificTrap);
        Require(bindings.len == 1);
        Require(bindings.list[0].name.idLength >= 1 &&
                bindings.list[0].name.idLength <= kMaxOidComponents);
        const AsnOctetString& message = bindings.list[0].value.asnValue.string;
        Require(message.length == strnlen(region.sMessage, TARN_MEM_TEXT_SIZE - 1));
        Require(std::memcmp(message.stream, region.sMessage, message.length) == 0);
        Require(!state.Next(&region, &enterprise, &generic, &specific, &stamp, &bindings));
        Require(enterprise.idLength == 0);
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    uint32_t ids[kMaxOidComponents];
    const uint32_t count = DottedTextToOid(text.c_str(), ids);
    Require(count >= 1 && count <= kMaxOidComponents);
    return 0;
}
