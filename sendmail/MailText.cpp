#include "MailText.h"

#include <cctype>
#include <clocale>
#include <cwctype>
#include <locale.h>

namespace {

// Decodes the UTF-8 character at text[pos], advancing pos. A byte that does not
// start a valid sequence stands for itself, so invalid text still compares.
char32_t NextCodePoint(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t length = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    if (length <= 1 || pos + length > text.size()) {
        ++pos;
        return lead;
    }
    char32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return lead;
        }
        code = (code << 6) | (next & 0x3F);
    }
    pos += length;
    return code;
}

char32_t FoldCase(char32_t code) {
    // The C.UTF-8 locale carries the Unicode case tables independent of the
    // process locale; it is created once and never changed.
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    if (utf8)
        return static_cast<char32_t>(towlower_l(static_cast<wint_t>(code), utf8));
    return code < 0x80 ? static_cast<char32_t>(std::tolower(static_cast<int>(code))) : code;
}

} // namespace

bool EqualsIgnoringCase(std::string_view left, std::string_view right) {
    size_t l = 0, r = 0;
    while (l < left.size() && r < right.size()) {
        if (FoldCase(NextCodePoint(left, l)) != FoldCase(NextCodePoint(right, r)))
            return false;
    }
    return l == left.size() && r == right.size();
}

std::string_view CutUtf8(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

std::vector<std::string_view> SplitRecipients(std::string_view list) {
    std::vector<std::string_view> pieces;
    for (size_t start = 0;;) {
        const size_t end = list.find(';', start);
        pieces.push_back(list.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return pieces;
        start = end + 1;
    }
}

std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return line;
}
