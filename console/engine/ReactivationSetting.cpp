#include "ReactivationSetting.h"

#include "RegistryFile.h"

bool WriteReactivationSetting(const std::string& registryFile, bool reactivate) {
    return CRegistryFile(registryFile).WriteString(kTarnRegistryKey, "ReactivateSurv",
                                                   reactivate ? "1" : "0");
}
