#include "FaxSettings.h"

#include "RegistryFile.h"

void WriteFaxSettings(const CRegistryFile& registry, const DBNotifySrvConfig& settings) {
    if (!registry.KeyExists(kFaxSettingsKey))
        return;
    registry.WriteString(kFaxSettingsKey, "Init", settings.FAX_MODEM_INIT_STRING);
    registry.WriteString(kFaxSettingsKey, "DialPrefix", settings.FAX_DIAL_PREFIX);
    registry.WriteString(kFaxSettingsKey, "Port", "com" + std::to_string(settings.FAX_COM_PORT));
    registry.WriteDword(kFaxSettingsKey, "DialMode", static_cast<uint32_t>(settings.FAX_DIAL_TYPE));
    registry.WriteDword(kFaxSettingsKey, "Trials", static_cast<uint32_t>(settings.FAX_RETRIES));
    registry.WriteDword(kFaxSettingsKey, "WaitTime", 180);
    registry.WriteDword(kFaxSettingsKey, "Answer", 0);
    registry.WriteDword(kFaxSettingsKey, "NoLGFaxLogo", 1);
}
