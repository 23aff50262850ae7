// The address book of a mail profile: a text file, one "Display Name <address>"
// entry per line. Blank lines and lines starting with "#" are skipped, and so
// are lines of neither form. Lines that are not UTF-8 are read as Windows-1252.
#pragma once

#include "MailAddress.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CAddressBook {
public:
    CAddressBook() = default;
    // A book of the given entries: the dialog module gets them from the library.
    explicit CAddressBook(std::vector<Mailbox> entries) : m_entries(std::move(entries)) {}

    // Reads the whole book; nothing when the file cannot be opened.
    static std::unique_ptr<CAddressBook> Open(const std::string& path);

    // A recipient resolves when exactly one display name equals it ignoring
    // case, or when it is itself a mail address (then without display name).
    // Blanks around the recipient do not count; text that is not UTF-8 is read
    // as Windows-1252. False for none or several.
    bool Resolve(std::string_view piece, Mailbox& resolved) const;

    const std::vector<Mailbox>& Entries() const { return m_entries; }

private:
    std::vector<Mailbox> m_entries;
};
