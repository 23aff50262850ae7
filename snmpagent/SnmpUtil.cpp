// Utility functions of the extension-agent interface: the heap both sides
// allocate from and free to, and the OID and binding helpers.
#include "tarn/SnmpExtension.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>

extern "C" {

void* SnmpUtilMemAlloc(size_t bytes) {
    return std::calloc(1, bytes == 0 ? 1 : bytes);
}

void SnmpUtilMemFree(void* block) {
    std::free(block);
}

int SnmpUtilOidNCmp(const AsnObjectIdentifier* left, const AsnObjectIdentifier* right,
                    uint32_t count) {
    const uint32_t common = std::min({left->idLength, right->idLength, count});
    for (uint32_t i = 0; i < common; ++i) {
        if (left->ids[i] != right->ids[i]) {
            return left->ids[i] < right->ids[i] ? -1 : 1;
        }
    }
    const uint32_t leftLength = std::min(left->idLength, count);
    const uint32_t rightLength = std::min(right->idLength, count);
    return leftLength == rightLength ? 0 : (leftLength < rightLength ? -1 : 1);
}

int SnmpUtilOidCmp(const AsnObjectIdentifier* left, const AsnObjectIdentifier* right) {
    return SnmpUtilOidNCmp(left, right, UINT32_MAX);
}

int SnmpUtilOidCpy(AsnObjectIdentifier* dest, const AsnObjectIdentifier* source) {
    dest->idLength = 0;
    dest->ids = nullptr;
    return SnmpUtilOidAppend(dest, source);
}

int SnmpUtilOidAppend(AsnObjectIdentifier* dest, const AsnObjectIdentifier* source) {
    if (source->idLength == 0) {
        return 1;
    }
    const uint32_t length = dest->idLength + source->idLength;
    auto* ids = static_cast<uint32_t*>(SnmpUtilMemAlloc(length * sizeof(uint32_t)));
    if (ids == nullptr) {
        return 0;
    }
    if (dest->idLength > 0) {
        std::memcpy(ids, dest->ids, dest->idLength * sizeof(uint32_t));
    }
    std::memcpy(ids + dest->idLength, source->ids, source->idLength * sizeof(uint32_t));
    SnmpUtilMemFree(dest->ids);
    dest->ids = ids;
    dest->idLength = length;
    return 1;
}

void SnmpUtilOidFree(AsnObjectIdentifier* oid) {
    SnmpUtilMemFree(oid->ids);
    oid->ids = nullptr;
    oid->idLength = 0;
}

void SnmpUtilAsnAnyFree(AsnAny* any) {
    switch (any->asnType) {
    case ASN_OBJECTIDENTIFIER:
        SnmpUtilOidFree(&any->asnValue.object);
        break;
    case ASN_OCTETSTRING:
    case ASN_IPADDRESS:
    case ASN_OPAQUE:
        if (any->asnValue.string.dynamic) {
            SnmpUtilMemFree(any->asnValue.string.stream);
        }
        break;
    default:
        break;
    }
    std::memset(&any->asnValue, 0, sizeof any->asnValue);
    any->asnType = ASN_NULL;
}

void SnmpUtilVarBindFree(SnmpVarBind* binding) {
    SnmpUtilOidFree(&binding->name);
    SnmpUtilAsnAnyFree(&binding->value);
}

void SnmpUtilVarBindListFree(SnmpVarBindList* list) {
    for (uint32_t i = 0; i < list->len; ++i) {
        SnmpUtilVarBindFree(&list->list[i]);
    }
    SnmpUtilMemFree(list->list);
    list->list = nullptr;
    list->len = 0;
}

uint32_t SnmpUtilTickCount(void) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000);
}

} // extern "C"
