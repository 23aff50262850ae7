#include "TextEncoding.h"

#include <cctype>
#include <cwctype>
#include <locale.h>

namespace {

// Code points of the bytes 0x80-0x9F in Windows-1252; 0 marks the undefined ones.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

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

// The C.UTF-8 locale, which carries the Unicode case tables independent of
// the process locale: created once, and freed when the program ends or the
// library that holds this copy is unloaded (a plug-in), so that loading and
// unloading a library does not lose one each time.
class CUtf8Locale {
public:
    CUtf8Locale() : m_handle(newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{})) {}
    ~CUtf8Locale() {
        if (m_handle)
            freelocale(m_handle);
        m_handle = locale_t{};
    }
    CUtf8Locale(const CUtf8Locale&) = delete;
    CUtf8Locale& operator=(const CUtf8Locale&) = delete;
    locale_t Handle() const { return m_handle; }

private:
    locale_t m_handle;
};

// Upper then lower case, so that every form of a letter meets (Σ, σ and ς all
// give σ).
char32_t FoldCase(char32_t code) {
    static const CUtf8Locale locale;
    if (const locale_t utf8 = locale.Handle()) {
        const wint_t upper = towupper_l(static_cast<wint_t>(code), utf8);
        return static_cast<char32_t>(towlower_l(upper, utf8));
    }
    return code < 0x80 ? static_cast<char32_t>(std::tolower(static_cast<int>(code))) : code;
}

} // namespace

bool IsValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        size_t length;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0; // no overlong forms
            if (c == 0xED)
                high = 0x9F; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            if (c == 0xF4)
                high = 0x8F; // nothing above U+10FFFF
        } else {
            return false;
        }
        if (static_cast<size_t>(end - p) < length || p[1] < low || p[1] > high)
            return false;
        for (size_t i = 2; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
        }
        p += length;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        char32_t cp = c;
        if (c >= 0x80 && c <= 0x9F && kWindows1252High[c - 0x80] != 0)
            cp = kWindows1252High[c - 0x80];
        AppendUtf8(out, cp);
    }
    return out;
}

std::string DecodeExternalText(std::string_view text) {
    if (IsValidUtf8(text))
        return std::string(text);
    return Windows1252ToUtf8(text);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (FoldCase(NextCodePoint(a, i)) != FoldCase(NextCodePoint(b, j)))
            return false;
    }
    return i == a.size() && j == b.size();
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view TrimTrailingBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return TrimTrailingBlanks(text);
}

std::string CutToCharacters(std::string_view text, size_t maxCharacters) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == maxCharacters)
            return std::string(text.substr(0, i));
    }
    return std::string(text);
}
