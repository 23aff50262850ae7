#include "TrapState.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// The OID both traps OIDs have until the first trap names its own.
constexpr uint32_t kPlaceholderOid[] = {1, 2, 3, 4, 5, 6, 7, 8};
constexpr uint32_t kPlaceholderLength = std::size(kPlaceholderOid);

void CopyText(char (&target)[TARN_MEM_TEXT_SIZE], const char (&source)[TARN_MEM_TEXT_SIZE]) {
    std::memcpy(target, source, TARN_MEM_TEXT_SIZE - 1);
    target[TARN_MEM_TEXT_SIZE - 1] = '\0';
}

} // namespace

CTrapState::CTrapState(uint32_t timeZeroReference)
    : m_timeZero(timeZeroReference), m_enterpriseLength(kPlaceholderLength),
      m_variableLength(kPlaceholderLength) {
    std::copy(std::begin(kPlaceholderOid), std::end(kPlaceholderOid), m_enterpriseIds);
    std::copy(std::begin(kPlaceholderOid), std::end(kPlaceholderOid), m_variableIds);
    m_copy.lSpecificTrap = 1;
}

bool CTrapState::Next(const TARNMemStruct* region, AsnObjectIdentifier* enterprise,
                      AsnInteger32* genericTrap, AsnInteger32* specificTrap,
                      AsnTimeticks* timeStamp, SnmpVarBindList* bindings) {
    if (m_delivered || region == nullptr) {
        m_delivered = false;
        *enterprise = {0, nullptr};
        return false;
    }
    m_delivered = true;
    CopyFrom(*region);
    m_binding.name = {m_variableLength, m_variableIds};
    m_binding.value.asnType = ASN_OCTETSTRING;
    m_binding.value.asnValue.string = {reinterpret_cast<uint8_t*>(m_copy.sMessage),
                                       static_cast<uint32_t>(std::strlen(m_copy.sMessage)), 0};
    *enterprise = {m_enterpriseLength, m_enterpriseIds};
    *genericTrap = SNMP_GENERICTRAP_ENTERSPECIFIC;
    *specificTrap = m_copy.lSpecificTrap;
    *timeStamp = SnmpUtilTickCount() - m_timeZero;
    *bindings = {&m_binding, 1};
    return true;
}

void CTrapState::CopyFrom(const TARNMemStruct& region) {
    CopyText(m_copy.sEnterprise, region.sEnterprise);
    CopyText(m_copy.sVariable, region.sVariable);
    CopyText(m_copy.sMessage, region.sMessage);
    m_copy.lSpecificTrap = region.lSpecificTrap;
    if (m_copy.sVariable[0] != '\0') {
        m_variableLength = DottedTextToOid(m_copy.sVariable, m_variableIds);
    }
    if (m_copy.sEnterprise[0] != '\0') {
        m_enterpriseLength = DottedTextToOid(m_copy.sEnterprise, m_enterpriseIds);
    }
}
