#include "SmsText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace {

// Unicode code points of the Windows-1252 bytes 0x80 to 0x9F. The five bytes
// that Windows-1252 leaves undefined stand for the C1 control of their value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<uint8_t> Windows1252Byte(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<uint8_t>(code);
    }
    const auto it = std::find(kHighControls.begin(), kHighControls.end(), code);
    if (it == kHighControls.end()) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(0x80 + (it - kHighControls.begin()));
}

// Decodes one well-formed UTF-8 sequence at the start of text (no overlong
// forms, no surrogates, nothing above U+10FFFF).
std::optional<char32_t> DecodeUtf8(std::string_view text, size_t& length) {
    const auto lead = static_cast<uint8_t>(text[0]);
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() < length) {
        return std::nullopt;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(text[i]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    return code;
}

} // namespace

namespace SmsText {

std::string Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const auto byte = static_cast<uint8_t>(utf8[pos]);
        size_t length = 1;
        if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else if (const auto code = DecodeUtf8(utf8.substr(pos), length)) {
            out += static_cast<char>(Windows1252Byte(*code).value_or('?'));
        } else {
            length = 1;
            out += static_cast<char>(byte);
        }
        pos += length;
    }
    return out;
}

size_t MessageLimit(size_t networkLimit, size_t senderLength) {
    return senderLength >= networkLimit ? 0 : networkLimit - senderLength;
}

std::string CutMessage(std::string text, size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    text.resize(limit);
    const size_t dots = std::min<size_t>(3, limit);
    text.replace(limit - dots, dots, dots, '.');
    return text;
}

} // namespace SmsText
