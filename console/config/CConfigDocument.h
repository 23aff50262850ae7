// The configuration as one JSON document, for version control and for
// moving a configuration to another installation.
//
// Records are numbered by their position in the document ("id": 1, 2, ...),
// and the relations (a profile's NOTIFICATIONS, an audition's PROFILES) use
// these numbers, so that the document does not depend on the keys a database
// gave out: two installations with the same configuration export the same
// bytes. Keys are written in a fixed order; fields in the order of the rules'
// field tables.
//
// Reading checks the whole document with the editors' rules before anything
// is written; every error names its place ("auditions[3].CHECK_INTERVAL").
#pragma once

#include "ConfigField.h"
#include "ConfigSnapshot.h"

#include <string>
#include <string_view>

class CConfigDocument {
public:
    // The snapshot as JSON text (two-space indentation, final line feed).
    static std::string Write(const ConfigSnapshot& snapshot);
    // Reads and checks a document. On success the snapshot holds the
    // records with their document numbers as keys (relations likewise), the
    // saving rules applied; false with every error otherwise.
    static bool Read(std::string_view text, ConfigSnapshot& snapshot, ConfigErrors& errors);
};
