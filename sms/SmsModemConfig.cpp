#include "SmsModemConfig.h"

#include "RegistryFile.h"

#include <cctype>
#include <cstdlib>

namespace {

unsigned ParseSpeed(const std::string& text) {
    if (text.empty()) {
        return kSmsDefaultSpeed;
    }
    char* end = nullptr;
    const unsigned long speed = std::strtoul(text.c_str(), &end, 10);
    return (*end == '\0' && speed > 0 && speed <= 4000000) ? static_cast<unsigned>(speed)
                                                           : kSmsDefaultSpeed;
}

} // namespace

CSmsModemConfig CSmsModemConfig::Load(const CRegistryFile& registry) {
    CSmsModemConfig config;
    for (unsigned line = 0;; ++line) {
        const std::string value = registry.ReadString(kSmsModemsKey, "Line" + std::to_string(line));
        if (value.empty()) {
            break;
        }
        const unsigned port = ComPortNumber(value);
        const std::string mapped =
            port != 0 ? registry.ReadString(kSmsModemsKey, "COM" + std::to_string(port)) : "";
        config.devices.push_back(ResolveDevice(value, mapped));
    }
    config.init = registry.ReadString(kSmsModemsKey, "Init");
    config.speed = ParseSpeed(registry.ReadString(kSmsModemsKey, "Speed"));
    return config;
}

std::string CSmsModemConfig::ResolveDevice(const std::string& lineValue,
                                           const std::string& mapped) {
    const unsigned port = ComPortNumber(lineValue);
    if (port == 0) {
        return lineValue;
    }
    return mapped.empty() ? "/dev/ttyS" + std::to_string(port - 1) : mapped;
}

unsigned CSmsModemConfig::ComPortNumber(const std::string& lineValue) {
    if (lineValue.size() < 4 || lineValue.size() > 6) {
        return 0;
    }
    for (size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(lineValue[i])) != "COM"[i]) {
            return 0;
        }
    }
    unsigned number = 0;
    for (size_t i = 3; i < lineValue.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(lineValue[i]))) {
            return 0;
        }
        number = number * 10 + static_cast<unsigned>(lineValue[i] - '0');
    }
    return number;
}
