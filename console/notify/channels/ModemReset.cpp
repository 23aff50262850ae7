#include "ModemReset.h"

#include "RegistryFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr const char* kModemsKey = "SOFTWARE\\velda\\TARN!\\Modems";
constexpr char kResetCharacters[] = {'A', 'T', 'Z', '\n', '\r'};

// Raw 8-bit characters without flow control and without waiting for a
// carrier, so that the reset neither blocks nor is altered on its way.
void MakeRaw(int fd) {
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return;
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~CRTSCTS;
    ::tcsetattr(fd, TCSANOW, &settings);
}

bool WriteCharacter(int fd, char c) {
    ssize_t written;
    do
        written = ::write(fd, &c, 1);
    while (written < 0 && errno == EINTR);
    return written == 1;
}

} // namespace

std::string ComPortDevice(const CRegistryFile& registry, int32_t comPort) {
    if (comPort < 1)
        return {};
    const std::string mapped = registry.ReadString(kModemsKey, "COM" + std::to_string(comPort));
    return mapped.empty() ? "/dev/ttyS" + std::to_string(comPort - 1) : mapped;
}

bool ResetModem(const std::string& device) {
    if (device.empty())
        return false;
    const int fd = ::open(device.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // The port is ours alone while the reset runs, as the SMS library takes it the same way.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !::isatty(fd)) {
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    MakeRaw(fd);
    ::tcflush(fd, TCIOFLUSH);
    for (char c : kResetCharacters)
        if (!WriteCharacter(fd, c))
            break;
    ::tcdrain(fd);
    ::close(fd);
    return true;
}
