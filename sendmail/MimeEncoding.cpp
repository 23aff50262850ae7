#include "MimeEncoding.h"

#include "MailText.h"
#include "TextEncoding.h"

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kHex[] = "0123456789ABCDEF";
constexpr size_t kLineLimit = 78;
constexpr size_t kQuotedPrintableLine = 76;
constexpr size_t kLongestSevenBitLine = 998;
// 39 bytes make 52 Base64 characters: "Subject: =?UTF-8?B?...?=" stays below 76.
constexpr size_t kEncodedWordBytes = 39;
// Longer runs without a blank could not be folded and go encoded instead.
constexpr size_t kLongestPlainWord = 77;

bool IsPrintableAscii(char c) {
    return c >= 0x20 && c < 0x7F;
}

bool IsAtomText(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           std::string_view("!#$%&'*+-/=?^_`{|}~").find(c) != std::string_view::npos;
}

bool IsAllOf(std::string_view text, bool (*test)(char)) {
    for (char c : text) {
        if (!test(c))
            return false;
    }
    return true;
}

bool HasLongWord(std::string_view text, size_t limit) {
    size_t run = 0;
    for (char c : text) {
        run = c == ' ' ? 0 : run + 1;
        if (run > limit)
            return true;
    }
    return false;
}

void AppendHexByte(std::string& out, char prefix, unsigned char byte) {
    out.push_back(prefix);
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 0xF]);
}

// One line's quoted-printable tokens with soft line breaks.
void AppendQuotedPrintableLine(std::string& out, std::string_view line) {
    size_t column = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        const bool lastOfLine = i + 1 == line.size();
        const bool literal =
            (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !lastOfLine);
        const size_t width = literal ? 1 : 3;
        // Keep room for the "=" of a soft break unless this is the line's end.
        if (column + width > (lastOfLine ? kQuotedPrintableLine : kQuotedPrintableLine - 1)) {
            out += "=\n";
            column = 0;
        }
        if (literal)
            out.push_back(static_cast<char>(c));
        else
            AppendHexByte(out, '=', c);
        column += width;
    }
}

} // namespace

std::string EncodeBase64(std::string_view data) {
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < data.size(); i += 3) {
        const uint32_t bits = static_cast<unsigned char>(data[i]) << 16 |
                              static_cast<unsigned char>(data[i + 1]) << 8 |
                              static_cast<unsigned char>(data[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6)
            out.push_back(kBase64[(bits >> shift) & 0x3F]);
    }
    if (i < data.size()) {
        uint32_t bits = static_cast<unsigned char>(data[i]) << 16;
        if (i + 1 < data.size())
            bits |= static_cast<unsigned char>(data[i + 1]) << 8;
        out.push_back(kBase64[(bits >> 18) & 0x3F]);
        out.push_back(kBase64[(bits >> 12) & 0x3F]);
        out.push_back(i + 1 < data.size() ? kBase64[(bits >> 6) & 0x3F] : '=');
        out.push_back('=');
    }
    return out;
}

std::string EncodeQuotedPrintable(std::string_view text) {
    std::string out;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        AppendQuotedPrintableLine(out, text.substr(start, end == std::string_view::npos
                                                              ? std::string_view::npos
                                                              : end - start));
        if (end == std::string_view::npos)
            break;
        out.push_back('\n');
        start = end + 1;
    }
    return out;
}

bool IsSevenBitText(std::string_view text) {
    size_t column = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0 || byte == '\r' || byte >= 0x80)
            return false;
        column = byte == '\n' ? 0 : column + 1;
        if (column > kLongestSevenBitLine)
            return false;
    }
    return true;
}

std::string EncodeWords(std::string_view text) {
    std::string out;
    do {
        std::string_view chunk = CutUtf8(text, kEncodedWordBytes);
        if (chunk.empty()) // a lone invalid byte sequence longer than a word
            chunk = text.substr(0, kEncodedWordBytes);
        if (!out.empty())
            out.push_back(' ');
        out += "=?UTF-8?B?" + EncodeBase64(chunk) + "?=";
        text.remove_prefix(chunk.size());
    } while (!text.empty());
    return out;
}

std::string UnstructuredText(std::string_view text) {
    const std::string line = OneLine(text);
    if (IsAllOf(line, IsPrintableAscii) && line.find("=?") == std::string::npos &&
        !HasLongWord(line, kLongestPlainWord))
        return line;
    return EncodeWords(line);
}

std::string Phrase(std::string_view name) {
    const std::string line = OneLine(name);
    if (IsAllOf(line, [](char c) { return IsAtomText(c) || c == ' '; }) &&
        line.find("=?") == std::string::npos && TrimBlanks(line) == line &&
        line.find("  ") == std::string::npos && !HasLongWord(line, kLongestPlainWord))
        return line;
    if (IsAllOf(line, IsPrintableAscii) && line.find("=?") == std::string::npos &&
        !HasLongWord(line, kLongestPlainWord)) {
        std::string quoted = "\"";
        for (char c : line) {
            if (c == '"' || c == '\\')
                quoted.push_back('\\');
            quoted.push_back(c);
        }
        return quoted + "\"";
    }
    return EncodeWords(line);
}

std::string Parameter(std::string_view name, std::string_view value) {
    const std::string line = OneLine(value);
    if (IsAllOf(line, IsPrintableAscii)) {
        std::string quoted = std::string(name) + "=\"";
        for (char c : line) {
            if (c == '"' || c == '\\')
                quoted.push_back('\\');
            quoted.push_back(c);
        }
        return quoted + "\"";
    }
    std::string encoded = std::string(name) + "*=UTF-8''";
    for (char c : line) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                           (c >= 'A' && c <= 'Z') ||
                           std::string_view("!#$&+-.^_`|~").find(c) != std::string_view::npos;
        if (plain)
            encoded.push_back(c);
        else
            AppendHexByte(encoded, '%', static_cast<unsigned char>(c));
    }
    return encoded;
}

std::string FoldHeader(std::string_view name, std::string_view value) {
    std::string out;
    std::string line = std::string(name) + ":";
    bool lineHasText = true;
    for (size_t start = 0;;) {
        const size_t end = value.find(' ', start);
        const std::string_view word =
            value.substr(start, end == std::string_view::npos ? end : end - start);
        if (lineHasText && line.size() + 1 + word.size() > kLineLimit) {
            out += line + "\n";
            line.clear();
            lineHasText = false;
        }
        line += " ";
        line += word;
        lineHasText = lineHasText || !word.empty();
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return out + line + "\n";
}
