#include "ExtensionAgent.h"

#include "tarn/SnmpExtension.h"

#include <cstring>
#include <dlfcn.h>

struct CExtensionAgent::SEntryPoints {
    decltype(&SnmpExtensionInit) init = nullptr;
    decltype(&SnmpExtensionQuery) query = nullptr;
    decltype(&SnmpExtensionTrap) trap = nullptr;
    decltype(&SnmpExtensionClose) close = nullptr;        // optional
    decltype(&SnmpTrapSlotError) trapSlotError = nullptr; // optional
};

namespace {

std::vector<uint32_t> ToVector(const AsnObjectIdentifier& oid) {
    return oid.idLength == 0 ? std::vector<uint32_t>()
                             : std::vector<uint32_t>(oid.ids, oid.ids + oid.idLength);
}

bool ToOid(const std::vector<uint32_t>& ids, AsnObjectIdentifier& oid) {
    const AsnObjectIdentifier source{static_cast<uint32_t>(ids.size()),
                                     const_cast<uint32_t*>(ids.data())};
    return SnmpUtilOidCpy(&oid, &source) != 0;
}

bool ToAsnAny(const SBinding& binding, AsnAny& value) {
    value.asnType = binding.type;
    switch (binding.type) {
    case ASN_INTEGER:
        value.asnValue.number = static_cast<AsnInteger32>(binding.number);
        return true;
    case ASN_COUNTER32:
    case ASN_GAUGE32:
    case ASN_TIMETICKS:
        value.asnValue.unsigned32 = static_cast<AsnUnsigned32>(binding.number);
        return true;
    case ASN_OCTETSTRING:
    case ASN_IPADDRESS:
    case ASN_OPAQUE: {
        auto* stream = static_cast<uint8_t*>(SnmpUtilMemAlloc(binding.bytes.size()));
        if (stream == nullptr) {
            return false;
        }
        std::memcpy(stream, binding.bytes.data(), binding.bytes.size());
        value.asnValue.string = {stream, static_cast<uint32_t>(binding.bytes.size()), 1};
        return true;
    }
    case ASN_OBJECTIDENTIFIER:
        return ToOid(binding.object, value.asnValue.object);
    default:
        return true;
    }
}

SBinding FromVarBind(const SnmpVarBind& varBind) {
    SBinding binding;
    binding.name = ToVector(varBind.name);
    binding.type = varBind.value.asnType;
    switch (varBind.value.asnType) {
    case ASN_INTEGER:
        binding.number = varBind.value.asnValue.number;
        break;
    case ASN_COUNTER32:
    case ASN_GAUGE32:
    case ASN_TIMETICKS:
        binding.number = varBind.value.asnValue.unsigned32;
        break;
    case ASN_OCTETSTRING:
    case ASN_IPADDRESS:
    case ASN_OPAQUE: {
        const AsnOctetString& text = varBind.value.asnValue.string;
        binding.bytes.assign(reinterpret_cast<const char*>(text.stream), text.length);
        break;
    }
    case ASN_OBJECTIDENTIFIER:
        binding.object = ToVector(varBind.value.asnValue.object);
        break;
    default:
        break;
    }
    return binding;
}

// Builds the list the agent works on, in the interface's own heap.
bool ToVarBindList(const std::vector<SBinding>& bindings, SnmpVarBindList& list) {
    list.list = static_cast<SnmpVarBind*>(SnmpUtilMemAlloc(bindings.size() * sizeof(SnmpVarBind)));
    if (list.list == nullptr) {
        return false;
    }
    list.len = static_cast<uint32_t>(bindings.size());
    for (size_t i = 0; i < bindings.size(); ++i) {
        list.list[i].value.asnType = ASN_NULL;
        if (!ToOid(bindings[i].name, list.list[i].name) ||
            !ToAsnAny(bindings[i], list.list[i].value)) {
            return false;
        }
    }
    return true;
}

template <typename Function> bool Resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

} // namespace

CExtensionAgent::CExtensionAgent() : m_entry(std::make_unique<SEntryPoints>()) {}

CExtensionAgent::~CExtensionAgent() {
    if (m_library != nullptr) {
        ::dlclose(m_library);
    }
}

bool CExtensionAgent::Load(const std::string& library, std::string& error) {
    m_library = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_library == nullptr) {
        error = ::dlerror();
        return false;
    }
    if (!Resolve(m_library, "SnmpExtensionInit", m_entry->init) ||
        !Resolve(m_library, "SnmpExtensionQuery", m_entry->query) ||
        !Resolve(m_library, "SnmpExtensionTrap", m_entry->trap)) {
        error = library + " is no extension agent: " + ::dlerror();
        return false;
    }
    Resolve(m_library, "SnmpExtensionClose", m_entry->close);
    Resolve(m_library, "SnmpTrapSlotError", m_entry->trapSlotError);
    return true;
}

bool CExtensionAgent::Init() {
    AsnObjectIdentifier view{0, nullptr};
    if (!m_entry->init(SnmpUtilTickCount(), &m_trapEvent, &view)) {
        return false;
    }
    m_region = ToVector(view);
    return !m_region.empty();
}

int CExtensionAgent::Query(ERequest request, std::vector<SBinding>& bindings, int& errorIndex) {
    static constexpr uint8_t kPduTags[] = {SNMP_PDU_GET, SNMP_PDU_GETNEXT, SNMP_PDU_SET};
    SnmpVarBindList list{nullptr, 0};
    AsnInteger32 status = SNMP_ERRORSTATUS_GENERR;
    AsnInteger32 index = 0;
    if (ToVarBindList(bindings, list)) {
        m_entry->query(kPduTags[static_cast<int>(request)], &list, &status, &index);
        for (uint32_t i = 0; i < list.len; ++i) {
            bindings[i] = FromVarBind(list.list[i]);
        }
    }
    SnmpUtilVarBindListFree(&list);
    errorIndex = index;
    return status;
}

bool CExtensionAgent::NextTrap(STrap& trap) {
    AsnObjectIdentifier enterprise{0, nullptr};
    AsnInteger32 genericTrap = 0;
    AsnInteger32 specificTrap = 0;
    AsnTimeticks timeStamp = 0;
    SnmpVarBindList list{nullptr, 0};
    if (!m_entry->trap(&enterprise, &genericTrap, &specificTrap, &timeStamp, &list)) {
        return false;
    }
    trap.enterprise = ToVector(enterprise);
    trap.genericTrap = genericTrap;
    trap.specificTrap = specificTrap;
    trap.timeStamp = timeStamp;
    trap.bindings.clear();
    for (uint32_t i = 0; i < list.len; ++i) {
        trap.bindings.push_back(FromVarBind(list.list[i]));
    }
    return true;
}

std::string CExtensionAgent::TrapSlotError() const {
    const char* error = m_entry->trapSlotError != nullptr ? m_entry->trapSlotError() : nullptr;
    return error != nullptr && *error != '\0' ? error : "the extension agent gives no reason";
}

void CExtensionAgent::Close() {
    if (m_entry->close != nullptr) {
        m_entry->close();
    }
}
