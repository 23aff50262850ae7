// Mail addresses and mailboxes ("Display Name <address>").
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct Mailbox {
    std::string displayName; // empty for a bare address
    std::string address;
};

// True for a plain addr-spec: local-part "@" domain, without blanks, angle
// brackets, quotes or control characters, with a dotted or bare domain name.
bool IsMailAddress(std::string_view text);

// "Display Name <address>" or a bare address. The display name may be quoted
// ("Doe, Jane" <jane@example.org>). Returns nothing when the text has neither
// form. The address inside the brackets is taken as written, not checked.
std::optional<Mailbox> ParseMailbox(std::string_view text);
