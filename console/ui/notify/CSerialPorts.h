// The serial ports the notification service sheet offers as "Com-Port:".
// Port n of the list is COM<n> (the stored COM_PORT), so the list runs from
// COM1 without gaps up to the highest port this computer has: the ports the
// modem configuration maps (value "COM<n>" of SOFTWARE\velda\TARN!\Modems),
// the /dev/ttyS<n-1> devices that exist, and the stored port. USB serial
// devices (/dev/ttyUSB*, /dev/ttyACM*) that no port maps follow as further
// ports; choosing one maps it in the modem configuration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SerialPort {
    int32_t Number = 0; // COM<Number>
    std::string Device;
    bool Exists = false;   // the device is there
    bool NeedsMap = false; // a USB device that the modem configuration does not map yet
};

class CSerialPorts {
public:
    // storedPort is always part of the list.
    static std::vector<SerialPort> Find(const std::string& registryPath, int32_t storedPort);
    // "COM3 (/dev/ttyS2)"
    static std::string DisplayText(const SerialPort& port);
    // Maps a port that needs it in the modem configuration; true when it is
    // mapped afterwards.
    static bool StoreMapping(const std::string& registryPath, const SerialPort& port);
};
