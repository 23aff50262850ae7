// Feeds arbitrary bytes to the configuration document reader. Checks that a
// document is accepted exactly when no error is reported, that every error
// names its place, and that an accepted document written out reads back to
// the same text (writing is stable).
#include "CConfigDocument.h"
#include "FuzzSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ConfigSnapshot snapshot;
    ConfigErrors errors;
    const bool accepted = CConfigDocument::Read(text, snapshot, errors);
    Require(accepted == errors.empty());
    for (const ConfigError& error : errors)
        Require(!error.field.empty() && !error.message.empty());
    if (!accepted)
        return 0;
    const std::string written = CConfigDocument::Write(snapshot);
    ConfigSnapshot again;
    ConfigErrors againErrors;
    Require(CConfigDocument::Read(written, again, againErrors));
    Require(CConfigDocument::Write(again) == written);
    return 0;
}
