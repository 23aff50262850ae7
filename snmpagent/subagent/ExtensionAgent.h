// An extension-agent library loaded with dlopen and driven the way an SNMP
// service drives it: Init once, Query per request, Trap after each signal.
#pragma once

#include "SnmpBinding.h"

#include <memory>
#include <semaphore.h>
#include <string>

class CExtensionAgent {
public:
    CExtensionAgent();
    ~CExtensionAgent();
    CExtensionAgent(const CExtensionAgent&) = delete;
    CExtensionAgent& operator=(const CExtensionAgent&) = delete;

    // Loads the library and resolves its entry points; on failure the reason
    // is in error.
    bool Load(const std::string& library, std::string& error);
    // Starts the agent, with now as its time zero; afterwards Region() and
    // TrapEvent() are known.
    bool Init();
    const std::vector<uint32_t>& Region() const { return m_region; }
    sem_t* TrapEvent() const { return m_trapEvent; }
    // Why there is no trap event.
    std::string TrapSlotError() const;

    // Passes the bindings through the agent's query entry point and returns
    // the SNMPv1 error status; names and values come back replaced.
    int Query(ERequest request, std::vector<SBinding>& bindings, int& errorIndex);
    // The next trap the agent has to give, false when it has none.
    bool NextTrap(STrap& trap);
    // Lets the agent release what it created (when it has a close entry point).
    void Close();

private:
    struct SEntryPoints;

    void* m_library = nullptr;
    std::unique_ptr<SEntryPoints> m_entry;
    std::vector<uint32_t> m_region;
    sem_t* m_trapEvent = nullptr;
};
