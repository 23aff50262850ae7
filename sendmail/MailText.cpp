#include "MailText.h"

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
