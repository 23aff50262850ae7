// Before an SMS the console resets the modem on the serial port of the fax
// settings, so that a modem left in a strange state by the fax software is
// ready for the SMS library's call.
#pragma once

#include <cstdint>
#include <string>

class CRegistryFile;

// The device of port COM<n>: the value "COM<n>" of the modem key
// SOFTWARE\velda\TARN!\Modems when it is set, /dev/ttyS<n-1> otherwise; empty
// for a port number below 1.
std::string ComPortDevice(const CRegistryFile& registry, int32_t comPort);

// Sends "A", "T", "Z", line feed and carriage return one at a time to the
// device, waits until they have left, reads the modem's answer (at most half a
// second) and closes it. A device that cannot be
// opened (missing, or held by another program) is left alone: false.
bool ResetModem(const std::string& device);
