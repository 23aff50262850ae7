#include "AuditionEntry.h"

// Everything is run state but the three fields of the configuration, so that
// a field added to the entry is carried by the write-back without more ado.
void CopyRunState(const AuditionEntry& from, AuditionEntry& to) {
    AuditionEntry merged = from;
    merged.Definition = std::move(to.Definition);
    merged.NotifyProfiles = std::move(to.NotifyProfiles);
    merged.PluginInstance = to.PluginInstance;
    to = std::move(merged);
}
