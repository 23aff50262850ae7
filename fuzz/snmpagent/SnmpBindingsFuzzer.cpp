// Feeds arbitrary bytes, read as one request (type, then bindings of name,
// value type and value), to the agent's MIB the way the sub-agent passes
// requests through. Checks that the answer has an SNMPv1 status of the
// table, an error index that names a binding exactly when the status is not
// noError, and that every binding comes back as a complete value.
#include "FuzzSupport.h"
#include "MibTable.h"
#include "tarn/SnmpExtension.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr uint8_t kRequests[] = {SNMP_PDU_GET, SNMP_PDU_GETNEXT, SNMP_PDU_SET};
constexpr uint8_t kTypes[] = {ASN_INTEGER,   ASN_OCTETSTRING, ASN_NULL,    ASN_OBJECTIDENTIFIER,
                              ASN_IPADDRESS, ASN_COUNTER32,   ASN_GAUGE32, ASN_TIMETICKS,
                              ASN_OPAQUE,    ASN_SEQUENCE};
// The region's prefix, so that most names fall near the agent's variables.
constexpr uint32_t kRegion[] = {1, 3, 6, 1, 4, 1, 12};

class CReader {
public:
    CReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Empty() const { return m_at >= m_size; }
    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    uint32_t Number() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 8 | Byte();
        return value;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

// A name: the region and a few small components, or any components.
std::vector<uint32_t> ReadName(CReader& in) {
    const uint8_t shape = in.Byte();
    std::vector<uint32_t> ids;
    if (shape & 0x80)
        ids.assign(std::begin(kRegion), std::end(kRegion));
    for (int i = 0, count = shape & 0x0F; i < count; ++i)
        ids.push_back(shape & 0x40 ? in.Number() : in.Byte() % 8);
    return ids;
}

void ReadValue(CReader& in, AsnAny& value) {
    value.asnType = kTypes[in.Byte() % std::size(kTypes)];
    switch (value.asnType) {
    case ASN_OCTETSTRING:
    case ASN_IPADDRESS:
    case ASN_OPAQUE: {
        const uint32_t length = in.Byte();
        auto* stream = static_cast<uint8_t*>(SnmpUtilMemAlloc(length + 1));
        for (uint32_t i = 0; i < length; ++i)
            stream[i] = in.Byte();
        value.asnValue.string = {stream, length, 1};
        break;
    }
    case ASN_OBJECTIDENTIFIER: {
        const std::vector<uint32_t> ids = ReadName(in);
        const AsnObjectIdentifier source{static_cast<uint32_t>(ids.size()),
                                         const_cast<uint32_t*>(ids.data())};
        SnmpUtilOidCpy(&value.asnValue.object, &source);
        break;
    }
    case ASN_NULL:
    case ASN_SEQUENCE:
        break;
    default:
        value.asnValue.number = static_cast<AsnInteger32>(in.Number());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CReader in(data, size);
    const uint8_t request = kRequests[in.Byte() % std::size(kRequests)];
    const uint32_t count = 1 + in.Byte() % 8;
    SnmpVarBindList list{static_cast<SnmpVarBind*>(SnmpUtilMemAlloc(count * sizeof(SnmpVarBind))),
                         count};
    for (uint32_t i = 0; i < count; ++i) {
        const std::vector<uint32_t> name = ReadName(in);
        const AsnObjectIdentifier source{static_cast<uint32_t>(name.size()),
                                         const_cast<uint32_t*>(name.data())};
        SnmpUtilOidCpy(&list.list[i].name, &source);
        ReadValue(in, list.list[i].value);
    }
    CMibTable table;
    for (int round = 0; round < 2; ++round) { // a SET's effect is seen by the next request
        AsnInteger32 status = -1;
        AsnInteger32 index = 0;
        table.Query(round == 0 ? request : SNMP_PDU_GET, &list, &status, &index);
        Require(status == SNMP_ERRORSTATUS_NOERROR || status == SNMP_ERRORSTATUS_NOSUCHNAME ||
                status == SNMP_ERRORSTATUS_BADVALUE || status == SNMP_ERRORSTATUS_GENERR);
        Require(status == SNMP_ERRORSTATUS_NOERROR ? index == 0
                                                   : index >= 1 && index <= AsnInteger32(count));
        for (uint32_t i = 0; i < count; ++i) {
            const AsnAny& value = list.list[i].value;
            if (value.asnType == ASN_OCTETSTRING && value.asnValue.string.length > 0)
                Require(value.asnValue.string.stream != nullptr);
        }
    }
    SnmpUtilVarBindListFree(&list);
    return 0;
}
