// What a notification job or a pending action keeps of its audition: the
// definition and the error signal at the time it was made. It never holds the
// plug-in instance, which only the audition list and the holder of a claim on
// the entry may use.
#pragma once

#include "AuditionEntry.h"

struct AuditionSnapshot {
    AuditionSnapshot() = default;
    // Implicit, so that an entry can be stored where a snapshot is kept.
    AuditionSnapshot(const AuditionEntry& entry)
        : Definition(entry.Definition), Signal(entry.Signal) {}

    DBAudition Definition;
    DBHEvent Signal;
};
