// Feeds arbitrary bytes as a profile's address book file and resolves every
// entry's name and each line of the file against it. Checks that a recipient
// resolves to the one entry of that name or to itself as a bare mail address.
// (An entry's address is taken as written: one that is no mail address
// resolves and fails when the message is sent, with its own result code.)
#include "AddressBook.h"
#include "FuzzSupport.h"
#include "TextEncoding.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string g_path;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_path = FuzzScratchDirectory("/tmp") + "/addresses.txt";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ofstream(g_path, std::ios::binary | std::ios::trunc) << text;
    const auto book = CAddressBook::Open(g_path);
    Require(book != nullptr);
    for (const Mailbox& entry : book->Entries()) {
        Mailbox resolved;
        if (!entry.displayName.empty() && book->Resolve(entry.displayName, resolved))
            Require(resolved.displayName.empty() ||
                    EqualsNoCase(resolved.displayName, entry.displayName));
    }
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        Mailbox resolved;
        if (book->Resolve(text.substr(start, end - start), resolved) &&
            resolved.displayName.empty())
            Require(IsMailAddress(resolved.address));
        start = end + 1;
    }
    return 0;
}
