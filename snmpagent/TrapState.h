// What the agent keeps between traps: its copy of the last trap read from the
// shared slot, the enterprise and variable OIDs (each kept until a trap brings
// a new one), the one variable binding handed out, and whether a trap was just
// delivered.
#pragma once

#include "OidText.h"
#include "tarn/SnmpExtension.h"
#include "tarn/TARNMemStruct.h"

class CTrapState {
public:
    explicit CTrapState(uint32_t timeZeroReference = 0);

    // Alternates between handing out the trap waiting in region (true) and
    // reporting that there is no further one (false, enterprise emptied). A
    // missing region never holds a trap.
    bool Next(const TARNMemStruct* region, AsnObjectIdentifier* enterprise,
              AsnInteger32* genericTrap, AsnInteger32* specificTrap, AsnTimeticks* timeStamp,
              SnmpVarBindList* bindings);

private:
    void CopyFrom(const TARNMemStruct& region);

    uint32_t m_timeZero;
    bool m_delivered = false;
    TARNMemStruct m_copy{};
    uint32_t m_enterpriseIds[kMaxOidComponents];
    uint32_t m_enterpriseLength;
    uint32_t m_variableIds[kMaxOidComponents];
    uint32_t m_variableLength;
    SnmpVarBind m_binding{};
};
