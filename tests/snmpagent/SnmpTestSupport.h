// Helpers shared by the SNMP agent tests.
#pragma once

#include "tarn/SnmpExtension.h"
#include "tarn/TARNMemStruct.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

// "1.3.6.1" -> {1, 3, 6, 1}
inline std::vector<uint32_t> Oid(const std::string& dotted) {
    std::vector<uint32_t> ids;
    size_t start = 0;
    while (start <= dotted.size() && !dotted.empty()) {
        const size_t dot = dotted.find('.', start);
        ids.push_back(static_cast<uint32_t>(std::stoul(dotted.substr(start, dot - start))));
        if (dot == std::string::npos) {
            break;
        }
        start = dot + 1;
    }
    return ids;
}

inline std::vector<uint32_t> ToVector(const AsnObjectIdentifier& oid) {
    return oid.idLength == 0 ? std::vector<uint32_t>()
                             : std::vector<uint32_t>(oid.ids, oid.ids + oid.idLength);
}

// Gives the shared objects names of this process's own, so that tests (and
// test runs) working at the same time never meet.
inline std::string UseOwnObjectNames() {
    static int counter = 0;
    const std::string suffix = "_t" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    ::setenv(TARN_SNMP_NAME_SUFFIX_ENV, suffix.c_str(), 1);
    return suffix;
}

// A binding list in the interface's heap, freed the way a host frees it.
class CBindingList {
public:
    explicit CBindingList(const std::vector<std::string>& names) {
        m_list.list =
            static_cast<SnmpVarBind*>(SnmpUtilMemAlloc(names.size() * sizeof(SnmpVarBind)));
        m_list.len = static_cast<uint32_t>(names.size());
        for (size_t i = 0; i < names.size(); ++i) {
            std::vector<uint32_t> ids = Oid(names[i]);
            const AsnObjectIdentifier source{static_cast<uint32_t>(ids.size()), ids.data()};
            SnmpUtilOidCpy(&m_list.list[i].name, &source);
            m_list.list[i].value.asnType = ASN_NULL;
        }
    }
    ~CBindingList() { SnmpUtilVarBindListFree(&m_list); }
    CBindingList(const CBindingList&) = delete;
    CBindingList& operator=(const CBindingList&) = delete;

    SnmpVarBindList* List() { return &m_list; }
    SnmpVarBind& operator[](size_t i) { return m_list.list[i]; }
    std::vector<uint32_t> Name(size_t i) const { return ToVector(m_list.list[i].name); }

    void SetInteger(size_t i, AsnInteger32 number) {
        SnmpUtilAsnAnyFree(&m_list.list[i].value);
        m_list.list[i].value.asnType = ASN_INTEGER;
        m_list.list[i].value.asnValue.number = number;
    }
    void SetString(size_t i, const std::string& text) {
        SnmpUtilAsnAnyFree(&m_list.list[i].value);
        auto* stream = static_cast<uint8_t*>(SnmpUtilMemAlloc(text.size()));
        std::copy(text.begin(), text.end(), stream);
        m_list.list[i].value.asnType = ASN_OCTETSTRING;
        m_list.list[i].value.asnValue.string = {stream, static_cast<uint32_t>(text.size()), 1};
    }
    std::string Text(size_t i) const {
        const AsnOctetString& text = m_list.list[i].value.asnValue.string;
        return {reinterpret_cast<const char*>(text.stream), text.length};
    }

private:
    SnmpVarBindList m_list{nullptr, 0};
};
