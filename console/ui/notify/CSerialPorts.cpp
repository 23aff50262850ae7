#include "CSerialPorts.h"

#include "CServiceRules.h"
#include "IniFile.h"
#include "ModemReset.h"
#include "RegistryFile.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

constexpr const char* kModemsKey = "SOFTWARE\\velda\\TARN!\\Modems";
constexpr const char* kDevices = "/dev/";

// The highest port number COM_PORT takes.
int32_t HighestPortNumber() {
    return FindField(CServiceRules::Fields(), "FAX_COM_PORT")->spec.maximum;
}

bool DeviceExists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

// The numbers of the ports that the modem configuration maps, and the devices.
std::set<std::string> MappedPorts(const std::string& registryPath, int32_t& highest) {
    const CIniFile registry = CIniFile::Load(registryPath);
    std::set<std::string> devices;
    for (int32_t port = 1; port <= HighestPortNumber(); ++port) {
        const auto device = registry.GetValue(kModemsKey, "COM" + std::to_string(port));
        if (device && !device->empty()) {
            devices.insert(*device);
            highest = port;
        }
    }
    return devices;
}

// The highest n whose /dev/ttyS<n-1> exists.
int32_t HighestBuiltInPort() {
    int32_t highest = 0;
    for (int32_t port = 1; port <= HighestPortNumber(); ++port)
        if (DeviceExists(kDevices + std::string("ttyS") + std::to_string(port - 1)))
            highest = port;
    return highest;
}

std::vector<std::string> UsbSerialDevices() {
    std::vector<std::string> devices;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(kDevices, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0)
            devices.push_back(entry.path().string());
    }
    std::sort(devices.begin(), devices.end());
    return devices;
}

} // namespace

std::vector<SerialPort> CSerialPorts::Find(const std::string& registryPath, int32_t storedPort) {
    int32_t highest = std::clamp(storedPort, 1, HighestPortNumber());
    const std::set<std::string> mapped = MappedPorts(registryPath, highest);
    highest = std::max(highest, HighestBuiltInPort());
    const CRegistryFile registry(registryPath);
    std::vector<SerialPort> ports;
    for (int32_t port = 1; port <= highest; ++port) {
        const std::string device = ComPortDevice(registry, port);
        ports.push_back({port, device, DeviceExists(device), false});
    }
    for (const std::string& device : UsbSerialDevices()) {
        if (mapped.count(device) || static_cast<int32_t>(ports.size()) >= HighestPortNumber())
            continue;
        ports.push_back({static_cast<int32_t>(ports.size()) + 1, device, true, true});
    }
    return ports;
}

std::string CSerialPorts::DisplayText(const SerialPort& port) {
    return "COM" + std::to_string(port.Number) + " (" + port.Device + ")";
}

bool CSerialPorts::StoreMapping(const std::string& registryPath, const SerialPort& port) {
    if (!port.NeedsMap)
        return true;
    const CRegistryFile registry(registryPath);
    return registry.CreateKey(kModemsKey) &&
           registry.WriteString(kModemsKey, "COM" + std::to_string(port.Number), port.Device);
}
