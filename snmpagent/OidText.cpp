#include "OidText.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

uint32_t ComponentValue(const char* field, size_t length) {
    char digits[kMaxComponentChars + 1] = {};
    std::memcpy(digits, field, std::min<size_t>(length, kMaxComponentChars));
    const long long value = std::strtoll(digits, nullptr, 10);
    return static_cast<uint32_t>(
        static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX)));
}

} // namespace

uint32_t DottedTextToOid(const char* text, uint32_t (&ids)[kMaxOidComponents]) {
    uint32_t count = 0;
    const char* field = text;
    while (count < kMaxOidComponents) {
        const char* dot = std::strchr(field, '.');
        const size_t length =
            dot != nullptr ? static_cast<size_t>(dot - field) : std::strlen(field);
        ids[count++] = ComponentValue(field, length);
        if (dot == nullptr) {
            break;
        }
        field = dot + 1;
    }
    return count;
}
