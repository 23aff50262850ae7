// Connects an extension agent to net-snmp's snmpd as an AgentX sub-agent:
// registers the agent's region, answers the master's GET, GETNEXT and SET
// through the agent's query entry point and sends the agent's traps as
// notifications that snmpd forwards to its own trap destinations.
#pragma once

#include "ExtensionAgent.h"
#include "TrapWaiter.h"

#include <csignal>
#include <deque>
#include <string>

struct netsnmp_mib_handler_s;
struct netsnmp_handler_registration_s;
struct netsnmp_agent_request_info_s;
struct netsnmp_request_info_s;

class CAgentXBridge {
public:
    explicit CAgentXBridge(CExtensionAgent& extension);

    // Sets net-snmp up as a sub-agent of the master at masterSocket (empty:
    // net-snmp's default) and logs to stderr or, when detached, to syslog.
    void Configure(const std::string& masterSocket, bool logToStderr);
    // Initialises the agent library, starts the extension agent and
    // registers its region; the connection to the master follows in Connect.
    bool Start();
    void Connect();
    // Delivers the extension agent's traps whenever the waiter is signalled.
    void WatchTraps(CTrapWaiter& waiter);
    // Serves requests until stop becomes non-zero.
    void Run(const volatile sig_atomic_t& stop);
    void Shutdown();

private:
    static int Handle(netsnmp_mib_handler_s* handler, netsnmp_handler_registration_s* registration,
                      netsnmp_agent_request_info_s* info, netsnmp_request_info_s* requests);
    static void OnTrapSignal(int fd, void* bridge);
    static int OnMasterConnection(int major, int minor, void* session, void* bridge);

    void Read(netsnmp_agent_request_info_s* info, netsnmp_request_info_s* request);
    void Write(netsnmp_agent_request_info_s* info, netsnmp_request_info_s* requests);
    std::vector<SBinding> CurrentValues(const std::vector<SBinding>& bindings);
    void Restore(const std::vector<SBinding>& values);
    bool InRegion(const std::vector<uint32_t>& name) const;
    void DeliverTraps();
    void SendTrap(const STrap& trap);
    void SendPending();

    CExtensionAgent& m_extension;
    CTrapWaiter* m_waiter = nullptr;
    bool m_connected = false;
    // Traps produced while the master was away, sent when it is back.
    std::deque<STrap> m_pending;
};
