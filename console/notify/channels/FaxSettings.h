// The settings of the fax software behind the "LG-Fax" print queue, kept in the
// registry file's key SOFTWARE\Lipp&Grau\Fax. The console writes them from its
// fax service settings before every fax and once at start-up.
#pragma once

#include "DBRecords.h"

class CRegistryFile;

inline constexpr const char* kFaxSettingsKey = "SOFTWARE\\Lipp&Grau\\Fax";
inline constexpr const char* kFaxQueueName = "LG-Fax";

// Writes each value on its own, and only when the key exists: the key is
// never created, so a machine without the fax software is left untouched.
void WriteFaxSettings(const CRegistryFile& registry, const DBNotifySrvConfig& settings);
