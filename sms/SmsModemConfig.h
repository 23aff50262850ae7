// Which modem devices the library may dial on, and how to set them up: read
// from the registry file's key SOFTWARE\velda\TARN!\Modems.
//
//   Line0, Line1, ...  device of each line, tried in order (the list ends at the
//                      first missing or empty value); a device path, or "COM<n>",
//                      which means the key's own value "COM<n>" when present and
//                      /dev/ttyS<n-1> otherwise
//   Init               AT command sent after the reset (optional)
//   Speed              serial speed in bit/s (optional, default 115200)
#pragma once

#include <string>
#include <vector>

class CRegistryFile;

inline constexpr const char* kSmsModemsKey = "SOFTWARE\\velda\\TARN!\\Modems";
inline constexpr unsigned kSmsDefaultSpeed = 115200;

class CSmsModemConfig {
public:
    std::vector<std::string> devices;
    std::string init;
    unsigned speed = kSmsDefaultSpeed;

    static CSmsModemConfig Load(const CRegistryFile& registry);
    // The device a line value names; "COM<n>" resolved through `mapped` (the
    // key's value of that name) when it is set.
    static std::string ResolveDevice(const std::string& lineValue, const std::string& mapped);
    // "COM<n>" with n >= 1 gives n, anything else 0.
    static unsigned ComPortNumber(const std::string& lineValue);
};
