// Exports of libSnmpTARN.so: the extension-agent entry points, called by the
// sub-agent program, and SnmpSendTrap, called by the console.
#include "MibTable.h"
#include "TrapSlot.h"
#include "TrapState.h"
#include "tarn/SnmpExtension.h"

namespace {

// The agent of this process. Created on first use only, so that a process
// that merely sends traps never owns (and never removes) the shared objects.
struct SAgent {
    CMibTable mib;
    CTrapState trap;
    CTrapSlot slot;
};

SAgent& Agent() {
    static SAgent agent;
    return agent;
}

} // namespace

extern "C" {

int SnmpExtensionInit(uint32_t timeZeroReference, sem_t** trapEvent,
                      AsnObjectIdentifier* supportedView) {
    SAgent& agent = Agent();
    agent.mib = CMibTable();
    agent.trap = CTrapState(timeZeroReference);
    agent.slot.Create();
    *trapEvent = agent.slot.Semaphore();
    *supportedView = agent.mib.Region();
    return 1;
}

int SnmpExtensionQuery(uint8_t requestType, SnmpVarBindList* bindings, AsnInteger32* errorStatus,
                       AsnInteger32* errorIndex) {
    Agent().mib.Query(requestType, bindings, errorStatus, errorIndex);
    return 1;
}

int SnmpExtensionTrap(AsnObjectIdentifier* enterprise, AsnInteger32* genericTrap,
                      AsnInteger32* specificTrap, AsnTimeticks* timeStamp,
                      SnmpVarBindList* bindings) {
    SAgent& agent = Agent();
    if (!agent.trap.Next(agent.slot.Region(), enterprise, genericTrap, specificTrap, timeStamp,
                         bindings)) {
        return 0;
    }
    agent.slot.MarkTaken(); // copied: the console may write the next trap
    return 1;
}

void SnmpExtensionClose(void) {
    Agent().slot.Release();
}

const char* SnmpTrapSlotError(void) {
    return Agent().slot.Error().c_str();
}

int SnmpSendTrap(const char* enterprise, int32_t specificTrap, const char* variable,
                 const char* message) {
    return CTrapSlot::Post(enterprise, specificTrap, variable, message) ? 1 : 0;
}

} // extern "C"
