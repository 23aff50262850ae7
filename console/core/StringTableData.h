// The built-in (German) string table, generated at build time from
// strings.de.tsv by gen/tarn_strgen. Internal to StringTable.cpp and its tests;
// everything else uses StringTable.h.
#pragma once

#include <cstddef>

struct TarnBuiltinString {
    unsigned id;
    const char* text; // UTF-8
    size_t length;
};

// Sorted by id, every id once.
extern const TarnBuiltinString kTarnBuiltinStrings[];
extern const size_t kTarnBuiltinStringCount;
