#include "MibTable.h"

#include <cstring>

CMibTable::CMibTable()
    : m_region{1, 3, 6, 1, 4, 1, 12},
      m_variables{
          {{2, 1, 0}, ASN_OCTETSTRING, SNMP_ACCESS_READ_ONLY, 0, "velda", 0, 0},
          {{2, 2, 0},
           ASN_OCTETSTRING,
           SNMP_ACCESS_READ_ONLY,
           0,
           "SNMP Extension Agent for TARN!",
           0,
           0},
          {{2, 3, 0}, ASN_INTEGER, SNMP_ACCESS_READ_WRITE, 1, {}, 1, 2},
          {{2, 4, 0}, ASN_INTEGER, SNMP_ACCESS_READ_WRITE, 2, {}, 1, 10},
          {{2, 5, 0}, ASN_INTEGER, SNMP_ACCESS_READ_WRITE, 3, {}, 1, 7},
      } {}

AsnObjectIdentifier CMibTable::Region() {
    return {static_cast<uint32_t>(m_region.size()), m_region.data()};
}

void CMibTable::Query(uint8_t requestType, SnmpVarBindList* bindings, AsnInteger32* errorStatus,
                      AsnInteger32* errorIndex) {
    *errorStatus = SNMP_ERRORSTATUS_NOERROR;
    const uint32_t count = bindings != nullptr ? bindings->len : 0;
    for (uint32_t i = 0; i < count; ++i) {
        SnmpVarBind& binding = bindings->list[i];
        AsnInteger32 status = Resolve(requestType, binding);
        if (requestType == SNMP_PDU_GETNEXT && status == SNMP_ERRORSTATUS_NOSUCHNAME) {
            // End of this agent's view: the name just past the region sends
            // the host on to the next region; the value stays as it came.
            std::vector<uint32_t> pastRegion(m_region.begin(), m_region.end());
            ++pastRegion.back();
            status =
                Rename(binding, pastRegion) ? SNMP_ERRORSTATUS_NOERROR : SNMP_ERRORSTATUS_GENERR;
        }
        if (status != SNMP_ERRORSTATUS_NOERROR) {
            *errorStatus = status;
            *errorIndex = static_cast<AsnInteger32>(i + 1);
            return;
        }
    }
}

AsnInteger32 CMibTable::Resolve(uint8_t requestType, SnmpVarBind& binding) {
    for (size_t entry = 0; entry < m_variables.size(); ++entry) {
        std::vector<uint32_t> name = FullName(entry);
        const AsnObjectIdentifier entryName{static_cast<uint32_t>(name.size()), name.data()};
        const int order = SnmpUtilOidCmp(&binding.name, &entryName);
        if (order < 0) {
            if (requestType != SNMP_PDU_GETNEXT) {
                return SNMP_ERRORSTATUS_NOSUCHNAME;
            }
            if (!Rename(binding, name)) {
                return SNMP_ERRORSTATUS_GENERR;
            }
            return Serve(entry, SNMP_PDU_GET, binding);
        }
        if (order == 0) {
            return Serve(entry, requestType, binding);
        }
    }
    return SNMP_ERRORSTATUS_NOSUCHNAME;
}

AsnInteger32 CMibTable::Serve(size_t entry, uint8_t requestType, SnmpVarBind& binding) {
    const SVariable& variable = m_variables[entry];
    if (variable.type == ASN_INTEGER && requestType == SNMP_PDU_SET) {
        const AsnInteger32 status = CheckRange(variable, binding.value);
        if (status != SNMP_ERRORSTATUS_NOERROR) {
            return status;
        }
    }
    return ServeCommon(entry, requestType, binding);
}

// The INTEGER variables take only values of their range; access and type are
// the common handler's checks.
AsnInteger32 CMibTable::CheckRange(const SVariable& variable, const AsnAny& value) const {
    const bool outside =
        value.asnType == ASN_INTEGER &&
        (value.asnValue.number < variable.minimum || value.asnValue.number > variable.maximum);
    return outside ? SNMP_ERRORSTATUS_BADVALUE : SNMP_ERRORSTATUS_NOERROR;
}

AsnInteger32 CMibTable::ServeCommon(size_t entry, uint8_t requestType, SnmpVarBind& binding) {
    SVariable& variable = m_variables[entry];
    switch (requestType) {
    case SNMP_PDU_GET:
        if (variable.access == SNMP_ACCESS_WRITE_ONLY) {
            return SNMP_ERRORSTATUS_NOSUCHNAME;
        }
        return Get(variable, binding.value);
    case SNMP_PDU_GETNEXT:
        if (entry + 1 == m_variables.size()) {
            return SNMP_ERRORSTATUS_NOSUCHNAME;
        }
        if (!Rename(binding, FullName(entry + 1))) {
            return SNMP_ERRORSTATUS_GENERR;
        }
        return Serve(entry + 1, SNMP_PDU_GET, binding);
    case SNMP_PDU_SET:
        if (variable.access == SNMP_ACCESS_READ_ONLY) {
            return SNMP_ERRORSTATUS_NOSUCHNAME;
        }
        if (binding.value.asnType != variable.type) {
            return SNMP_ERRORSTATUS_BADVALUE;
        }
        return Set(variable, binding.value);
    default:
        return SNMP_ERRORSTATUS_GENERR;
    }
}

AsnInteger32 CMibTable::Get(const SVariable& variable, AsnAny& value) const {
    SnmpUtilAsnAnyFree(&value);
    switch (variable.type) {
    case ASN_INTEGER:
    case ASN_COUNTER32:
    case ASN_GAUGE32:
        value.asnType = variable.type;
        value.asnValue.number = variable.number;
        return SNMP_ERRORSTATUS_NOERROR;
    case ASN_OCTETSTRING: {
        auto* stream = static_cast<uint8_t*>(SnmpUtilMemAlloc(variable.text.size()));
        if (stream == nullptr) {
            return SNMP_ERRORSTATUS_GENERR;
        }
        std::memcpy(stream, variable.text.data(), variable.text.size());
        value.asnType = ASN_OCTETSTRING;
        value.asnValue.string = {stream, static_cast<uint32_t>(variable.text.size()), 1};
        return SNMP_ERRORSTATUS_NOERROR;
    }
    default:
        return SNMP_ERRORSTATUS_GENERR;
    }
}

AsnInteger32 CMibTable::Set(SVariable& variable, const AsnAny& value) {
    if (variable.type == ASN_OCTETSTRING) {
        const AsnOctetString& text = value.asnValue.string;
        variable.text.assign(reinterpret_cast<const char*>(text.stream), text.length);
    } else {
        variable.number = value.asnValue.number;
    }
    return SNMP_ERRORSTATUS_NOERROR;
}

std::vector<uint32_t> CMibTable::FullName(size_t entry) const {
    std::vector<uint32_t> name(m_region.begin(), m_region.end());
    name.insert(name.end(), m_variables[entry].suffix.begin(), m_variables[entry].suffix.end());
    return name;
}

bool CMibTable::Rename(SnmpVarBind& binding, const std::vector<uint32_t>& name) const {
    const AsnObjectIdentifier source{static_cast<uint32_t>(name.size()),
                                     const_cast<uint32_t*>(name.data())};
    AsnObjectIdentifier copy;
    if (!SnmpUtilOidCpy(&copy, &source)) {
        return false;
    }
    SnmpUtilOidFree(&binding.name);
    binding.name = copy;
    return true;
}
