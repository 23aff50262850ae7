// Writes the reactivation flag back as "1" or "0" to "ReactivateSurv", only
// where the console's registry key exists (it is never created here).
#pragma once

#include <string>

bool WriteReactivationSetting(const std::string& registryFile, bool reactivate);
