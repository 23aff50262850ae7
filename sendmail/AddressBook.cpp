#include "AddressBook.h"

#include "MailText.h"
#include "TextEncoding.h"

#include <filesystem>
#include <fstream>

std::unique_ptr<CAddressBook> CAddressBook::Open(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return nullptr;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open())
        return nullptr;
    auto book = std::make_unique<CAddressBook>();
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string decoded = DecodeExternalText(line);
        std::string_view entry = TrimBlanks(decoded);
        if (entry.empty() || entry.front() == '#')
            continue;
        if (auto mailbox = ParseMailbox(entry))
            book->m_entries.push_back(std::move(*mailbox));
    }
    if (file.bad())
        return nullptr;
    return book;
}

bool CAddressBook::Resolve(std::string_view piece, Mailbox& resolved) const {
    const std::string decoded = DecodeExternalText(piece);
    const std::string_view recipient = TrimBlanks(decoded);
    const Mailbox* match = nullptr;
    int matches = 0;
    for (const Mailbox& entry : m_entries) {
        if (!entry.displayName.empty() && EqualsNoCase(entry.displayName, recipient)) {
            match = &entry;
            ++matches;
        }
    }
    if (matches == 1) {
        resolved = *match;
        return true;
    }
    if (IsMailAddress(recipient)) {
        resolved = Mailbox{"", std::string(recipient)};
        return true;
    }
    return false;
}
