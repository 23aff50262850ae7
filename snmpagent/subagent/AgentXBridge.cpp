#include "AgentXBridge.h"

#include <algorithm>

// net-snmp wants its configuration first, then the library, then the agent.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <net-snmp/agent/agent_callbacks.h>
#include <net-snmp/agent/net-snmp-agent-includes.h>

namespace {

constexpr const char* kApplication = "tarn-snmp-subagent";
// Seconds between checks of the master; a lost master is reconnected at
// this pace (the "agentxPingInterval" setting overrides it).
constexpr int kPingIntervalSeconds = 5;
// An agent that keeps reporting traps must not starve the requests.
constexpr int kMaxTrapsPerSignal = 64;
constexpr size_t kMaxPendingTraps = 100;

const oid kSysUpTime[] = {1, 3, 6, 1, 2, 1, 1, 3, 0};
const oid kSnmpTrapOid[] = {1, 3, 6, 1, 6, 3, 1, 1, 4, 1, 0};
const oid kSnmpTraps[] = {1, 3, 6, 1, 6, 3, 1, 1, 5};

std::vector<oid> ToOids(const std::vector<uint32_t>& ids) {
    return {ids.begin(), ids.end()};
}

std::vector<uint32_t> FromOids(const oid* ids, size_t length) {
    return {ids, ids + length};
}

// A binding's value in the form net-snmp's setters take.
class CWireValue {
public:
    explicit CWireValue(const SBinding& binding) : m_type(binding.type) {
        switch (binding.type) {
        case ASN_INTEGER:
        case ASN_COUNTER:
        case ASN_GAUGE:
        case ASN_TIMETICKS:
            m_number = static_cast<long>(binding.number);
            m_data = &m_number;
            m_length = sizeof m_number;
            break;
        case ASN_OCTET_STR:
        case ASN_IPADDRESS:
        case ASN_OPAQUE:
            m_data = binding.bytes.data();
            m_length = binding.bytes.size();
            break;
        case ASN_OBJECT_ID:
            m_object = ToOids(binding.object);
            m_data = m_object.data();
            m_length = m_object.size() * sizeof(oid);
            break;
        default:
            m_type = ASN_NULL;
            break;
        }
    }
    u_char Type() const { return m_type; }
    const u_char* Data() const { return static_cast<const u_char*>(m_data); }
    size_t Length() const { return m_length; }

private:
    u_char m_type;
    long m_number = 0;
    std::vector<oid> m_object;
    const void* m_data = nullptr;
    size_t m_length = 0;
};

SBinding FromVariable(const netsnmp_variable_list& variable) {
    SBinding binding;
    binding.name = FromOids(variable.name, variable.name_length);
    binding.type = variable.type;
    switch (variable.type) {
    case ASN_INTEGER:
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
        binding.number = *variable.val.integer;
        break;
    case ASN_OCTET_STR:
    case ASN_IPADDRESS:
    case ASN_OPAQUE:
        binding.bytes.assign(reinterpret_cast<const char*>(variable.val.string), variable.val_len);
        break;
    case ASN_OBJECT_ID:
        binding.object = FromOids(variable.val.objid, variable.val_len / sizeof(oid));
        break;
    default:
        break;
    }
    return binding;
}

// The SNMPv2 error a SET reports for the agent's SNMPv1 status; snmpd turns
// it back into the SNMPv1 status for SNMPv1 managers.
int SetError(int status) {
    switch (status) {
    case kStatusNoSuchName:
    case kStatusReadOnly:
        return SNMP_ERR_NOTWRITABLE;
    case kStatusBadValue:
        return SNMP_ERR_WRONGVALUE;
    default:
        return SNMP_ERR_GENERR;
    }
}

// snmpTrapOID.0 of an SNMPv1 trap (the SNMPv1/v2 coexistence rules):
// enterprise.0.specific for enterprise-specific traps, else the standard trap.
std::vector<oid> TrapOid(const STrap& trap) {
    std::vector<oid> trapOid;
    if (trap.genericTrap == SNMP_TRAP_ENTERPRISESPECIFIC) {
        trapOid = ToOids(trap.enterprise);
        trapOid.push_back(0);
        trapOid.push_back(static_cast<oid>(trap.specificTrap));
    } else {
        trapOid.assign(std::begin(kSnmpTraps), std::end(kSnmpTraps));
        trapOid.push_back(static_cast<oid>(trap.genericTrap + 1));
    }
    return trapOid;
}

} // namespace

CAgentXBridge::CAgentXBridge(CExtensionAgent& extension) : m_extension(extension) {}

void CAgentXBridge::Configure(const std::string& masterSocket, bool logToStderr) {
    if (logToStderr) {
        snmp_enable_stderrlog();
    } else {
        snmp_enable_calllog();
        snmp_enable_syslog_ident(kApplication, LOG_DAEMON);
    }
    netsnmp_enable_subagent();
    if (!masterSocket.empty()) {
        netsnmp_ds_set_string(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_X_SOCKET,
                              masterSocket.c_str());
    }
    netsnmp_ds_set_int(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_AGENTX_PING_INTERVAL,
                       kPingIntervalSeconds);
}

bool CAgentXBridge::Start() {
    if (init_agent(kApplication) != 0) {
        snmp_log(LOG_ERR, "the net-snmp agent library could not be initialised\n");
        return false;
    }
    if (!m_extension.Init()) {
        snmp_log(LOG_ERR, "the extension agent did not start\n");
        return false;
    }
    // Without its own trap objects the console's traps would be lost, or go
    // to whoever planted objects under their names: refuse to run.
    if (m_extension.TrapEvent() == nullptr) {
        snmp_log(LOG_ERR, "traps cannot be handed over, not starting: %s\n",
                 m_extension.TrapSlotError().c_str());
        return false;
    }
    const std::vector<oid> region = ToOids(m_extension.Region());
    netsnmp_handler_registration* registration = netsnmp_create_handler_registration(
        kApplication, &CAgentXBridge::Handle, region.data(), region.size(), HANDLER_CAN_RWRITE);
    if (registration == nullptr) {
        return false;
    }
    registration->handler->myvoid = this;
    if (netsnmp_register_handler(registration) != MIB_REGISTERED_OK) {
        snmp_log(LOG_ERR, "the region of the extension agent could not be registered\n");
        return false;
    }
    snmp_register_callback(SNMP_CALLBACK_APPLICATION, SNMPD_CALLBACK_INDEX_START,
                           &CAgentXBridge::OnMasterConnection, this);
    snmp_register_callback(SNMP_CALLBACK_APPLICATION, SNMPD_CALLBACK_INDEX_STOP,
                           &CAgentXBridge::OnMasterConnection, this);
    return true;
}

void CAgentXBridge::Connect() {
    init_snmp(kApplication);
}

void CAgentXBridge::WatchTraps(CTrapWaiter& waiter) {
    m_waiter = &waiter;
    register_readfd(waiter.Fd(), &CAgentXBridge::OnTrapSignal, this);
}

void CAgentXBridge::Run(const volatile sig_atomic_t& stop) {
    while (stop == 0) {
        agent_check_and_process(1);
    }
}

void CAgentXBridge::Shutdown() {
    if (m_waiter != nullptr) {
        unregister_readfd(m_waiter->Fd());
        m_waiter = nullptr;
    }
    // net-snmp frees the arguments of the callbacks still registered.
    for (int minor : {SNMPD_CALLBACK_INDEX_START, SNMPD_CALLBACK_INDEX_STOP}) {
        snmp_unregister_callback(SNMP_CALLBACK_APPLICATION, minor,
                                 &CAgentXBridge::OnMasterConnection, this, 1);
    }
    snmp_shutdown(kApplication);
}

int CAgentXBridge::Handle(netsnmp_mib_handler* handler, netsnmp_handler_registration*,
                          netsnmp_agent_request_info* info, netsnmp_request_info* requests) {
    auto* self = static_cast<CAgentXBridge*>(handler->myvoid);
    switch (info->mode) {
    case MODE_GET:
    case MODE_GETNEXT:
        for (netsnmp_request_info* request = requests; request != nullptr;
             request = request->next) {
            if (!request->processed) {
                self->Read(info, request);
            }
        }
        break;
    case MODE_SET_RESERVE1:
        // The agent stores a value when it accepts it, so the whole SET is
        // done in its first phase; the later phases have nothing left to do.
        self->Write(info, requests);
        break;
    default:
        break;
    }
    return SNMP_ERR_NOERROR;
}

// One binding per query: each gets its own answer, as SNMPv2 managers expect.
void CAgentXBridge::Read(netsnmp_agent_request_info* info, netsnmp_request_info* request) {
    netsnmp_variable_list* variable = request->requestvb;
    const bool next = info->mode == MODE_GETNEXT;
    std::vector<SBinding> bindings{FromVariable(*variable)};
    bindings.front().type = ASN_NULL;
    int errorIndex = 0;
    const int status =
        m_extension.Query(next ? ERequest::GetNext : ERequest::Get, bindings, errorIndex);
    if (status == kStatusNoError) {
        const SBinding& answer = bindings.front();
        if (next && !InRegion(answer.name)) {
            return; // past the region: snmpd goes on with the next one
        }
        const CWireValue value(answer);
        if (next) {
            const std::vector<oid> name = ToOids(answer.name);
            snmp_set_var_objid(variable, name.data(), name.size());
        }
        snmp_set_var_typed_value(variable, value.Type(), value.Data(), value.Length());
    } else if (status == kStatusNoSuchName && !next) {
        netsnmp_set_request_error(info, request, SNMP_NOSUCHOBJECT);
    } else {
        netsnmp_set_request_error(info, request, SNMP_ERR_GENERR);
    }
}

void CAgentXBridge::Write(netsnmp_agent_request_info* info, netsnmp_request_info* requests) {
    std::vector<netsnmp_request_info*> order;
    std::vector<SBinding> bindings;
    for (netsnmp_request_info* request = requests; request != nullptr; request = request->next) {
        if (!request->processed) {
            order.push_back(request);
            bindings.push_back(FromVariable(*request->requestvb));
        }
    }
    if (order.empty()) {
        return;
    }
    std::vector<SBinding> previous = CurrentValues(bindings);
    int errorIndex = 0;
    const int status = m_extension.Query(ERequest::Set, bindings, errorIndex);
    if (status != kStatusNoError) {
        const bool known = errorIndex >= 1 && static_cast<size_t>(errorIndex) <= order.size();
        // The agent stored the bindings before the failing one; a SET takes
        // effect as a whole or not at all, so they get their old values back.
        previous.resize(known ? errorIndex - 1 : 0);
        Restore(previous);
        netsnmp_set_request_error(info, order[known ? errorIndex - 1 : 0], SetError(status));
    }
}

std::vector<SBinding> CAgentXBridge::CurrentValues(const std::vector<SBinding>& bindings) {
    std::vector<SBinding> values;
    for (const SBinding& binding : bindings) {
        std::vector<SBinding> value(1);
        value.front().name = binding.name;
        int errorIndex = 0;
        if (m_extension.Query(ERequest::Get, value, errorIndex) != kStatusNoError) {
            value.front().type = ASN_NULL; // unreadable: nothing to restore
        }
        values.push_back(value.front());
    }
    return values;
}

void CAgentXBridge::Restore(const std::vector<SBinding>& values) {
    for (const SBinding& value : values) {
        if (value.type != ASN_NULL) {
            std::vector<SBinding> binding{value};
            int errorIndex = 0;
            m_extension.Query(ERequest::Set, binding, errorIndex);
        }
    }
}

bool CAgentXBridge::InRegion(const std::vector<uint32_t>& name) const {
    const std::vector<uint32_t>& region = m_extension.Region();
    return name.size() > region.size() && std::equal(region.begin(), region.end(), name.begin());
}

void CAgentXBridge::OnTrapSignal(int, void* bridge) {
    static_cast<CAgentXBridge*>(bridge)->DeliverTraps();
}

void CAgentXBridge::DeliverTraps() {
    m_waiter->Acknowledge();
    STrap trap;
    for (int i = 0; i < kMaxTrapsPerSignal && m_extension.NextTrap(trap); ++i) {
        if (m_connected) {
            SendTrap(trap);
            continue;
        }
        if (m_pending.size() == kMaxPendingTraps) {
            snmp_log(LOG_WARNING, "snmpd is not reachable: the oldest waiting trap is dropped\n");
            m_pending.pop_front();
        }
        m_pending.push_back(trap);
    }
}

void CAgentXBridge::SendTrap(const STrap& trap) {
    netsnmp_variable_list* variables = nullptr;
    // The agent counts milliseconds, TimeTicks are hundredths of a second.
    const long upTime = static_cast<long>(trap.timeStamp / 10);
    snmp_varlist_add_variable(&variables, kSysUpTime, OID_LENGTH(kSysUpTime), ASN_TIMETICKS,
                              &upTime, sizeof upTime);
    const std::vector<oid> trapOid = TrapOid(trap);
    snmp_varlist_add_variable(&variables, kSnmpTrapOid, OID_LENGTH(kSnmpTrapOid), ASN_OBJECT_ID,
                              trapOid.data(), trapOid.size() * sizeof(oid));
    for (const SBinding& binding : trap.bindings) {
        const std::vector<oid> name = ToOids(binding.name);
        const CWireValue value(binding);
        snmp_varlist_add_variable(&variables, name.data(), name.size(), value.Type(), value.Data(),
                                  value.Length());
    }
    send_v2trap(variables);
    snmp_free_varbind(variables);
}

int CAgentXBridge::OnMasterConnection(int, int minor, void*, void* bridge) {
    auto* self = static_cast<CAgentXBridge*>(bridge);
    self->m_connected = minor == SNMPD_CALLBACK_INDEX_START;
    if (self->m_connected) {
        self->SendPending();
    }
    return SNMPERR_SUCCESS;
}

void CAgentXBridge::SendPending() {
    while (!m_pending.empty()) {
        SendTrap(m_pending.front());
        m_pending.pop_front();
    }
}
