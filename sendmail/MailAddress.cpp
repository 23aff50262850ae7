#include "MailAddress.h"

#include "TextEncoding.h"

namespace {

// Characters RFC 5322 allows unquoted in a local part (atext and ".").
bool IsLocalPartChar(unsigned char c) {
    if (c >= 0x80)
        return true; // UTF-8 local parts (RFC 6531)
    if (std::string_view("!#$%&'*+-/=?^_`{|}~.").find(static_cast<char>(c)) !=
        std::string_view::npos)
        return true;
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDomainChar(unsigned char c) {
    return c >= 0x80 || c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
           (c >= 'A' && c <= 'Z');
}

bool IsValidDomain(std::string_view domain) {
    if (domain.empty() || domain.front() == '.' || domain.back() == '.' ||
        domain.find("..") != std::string_view::npos)
        return false;
    for (char c : domain) {
        if (!IsDomainChar(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

bool IsValidLocalPart(std::string_view local) {
    if (local.empty() || local.front() == '.' || local.back() == '.' ||
        local.find("..") != std::string_view::npos)
        return false;
    for (char c : local) {
        if (!IsLocalPartChar(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

std::string Unquote(std::string_view name) {
    if (name.size() < 2 || name.front() != '"' || name.back() != '"')
        return std::string(name);
    std::string plain;
    for (size_t i = 1; i + 1 < name.size(); ++i) {
        if (name[i] == '\\' && i + 2 < name.size())
            ++i;
        plain.push_back(name[i]);
    }
    return plain;
}

} // namespace

bool IsMailAddress(std::string_view text) {
    const size_t at = text.rfind('@');
    if (at == std::string_view::npos)
        return false;
    return IsValidLocalPart(text.substr(0, at)) && IsValidDomain(text.substr(at + 1));
}

std::optional<Mailbox> ParseMailbox(std::string_view text) {
    text = TrimBlanks(text);
    if (IsMailAddress(text))
        return Mailbox{"", std::string(text)};
    if (text.empty() || text.back() != '>')
        return std::nullopt;
    const size_t open = text.rfind('<');
    if (open == std::string_view::npos)
        return std::nullopt;
    std::string_view address = TrimBlanks(text.substr(open + 1, text.size() - open - 2));
    return Mailbox{Unquote(TrimBlanks(text.substr(0, open))), std::string(address)};
}
