// The agent's MIB: five scalar variables below 1.3.6.1.4.1.12, served in
// table order (which is also the GETNEXT order).
#pragma once

#include "tarn/SnmpExtension.h"

#include <array>
#include <string>
#include <vector>

class CMibTable {
public:
    CMibTable();

    // The region the agent serves: 1.3.6.1.4.1.12 (the array stays valid for
    // the life of the table).
    AsnObjectIdentifier Region();

    // Serves every binding in order and stops at the first that fails: its
    // 1-based position goes to *errorIndex. The status is always written.
    void Query(uint8_t requestType, SnmpVarBindList* bindings, AsnInteger32* errorStatus,
               AsnInteger32* errorIndex);

private:
    struct SVariable {
        std::array<uint32_t, 3> suffix;
        uint8_t type;
        uint8_t access;
        AsnInteger32 number;
        std::string text;
        // Values a SET may store into an INTEGER variable.
        AsnInteger32 minimum;
        AsnInteger32 maximum;
    };

    AsnInteger32 Resolve(uint8_t requestType, SnmpVarBind& binding);
    AsnInteger32 Serve(size_t entry, uint8_t requestType, SnmpVarBind& binding);
    AsnInteger32 CheckRange(const SVariable& variable, const AsnAny& value) const;
    AsnInteger32 ServeCommon(size_t entry, uint8_t requestType, SnmpVarBind& binding);
    AsnInteger32 Get(const SVariable& variable, AsnAny& value) const;
    AsnInteger32 Set(SVariable& variable, const AsnAny& value);
    std::vector<uint32_t> FullName(size_t entry) const;
    bool Rename(SnmpVarBind& binding, const std::vector<uint32_t>& name) const;

    std::array<uint32_t, 7> m_region;
    std::vector<SVariable> m_variables;
};
