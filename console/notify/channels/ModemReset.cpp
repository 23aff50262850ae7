#include "ModemReset.h"

#include "RegistryFile.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr const char* kModemsKey = "SOFTWARE\\velda\\TARN!\\Modems";
constexpr char kResetCharacters[] = {'A', 'T', 'Z', '\n', '\r'};
// How long the answer to the reset may take; a port without a modem costs this once.
constexpr std::chrono::milliseconds kAnswerWait{500};

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

// Reads the modem's answer to the reset until it is complete or the wait is
// over, so that no late "OK" meets the SMS library's own commands on the line.
void SwallowAnswer(int fd) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + kAnswerWait;
    std::string answer;
    while (answer.find("OK") == std::string::npos && answer.find("ERROR") == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd pfd{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&pfd, 1, static_cast<int>(left.count())) <= 0)
            return;
        char buffer[64];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0 && errno != EINTR && errno != EAGAIN)
            return;
        if (got > 0)
            answer.append(buffer, static_cast<size_t>(got));
    }
}

bool WriteCharacter(int fd, char c) {
    for (int tries = 0; tries < 100; ++tries) {
        if (::write(fd, &c, 1) == 1)
            return true;
        if (errno != EINTR && errno != EAGAIN)
            return false;
        pollfd pfd{fd, POLLOUT, 0};
        ::poll(&pfd, 1, 10);
    }
    return false;
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
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // The port is ours alone while the reset runs, as the SMS library takes it the same way.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !::isatty(fd)) {
        ::close(fd);
        return false;
    }
    MakeRaw(fd);
    ::tcflush(fd, TCIOFLUSH);
    for (char c : kResetCharacters)
        if (!WriteCharacter(fd, c))
            break;
    ::tcdrain(fd);
    SwallowAnswer(fd);
    ::close(fd);
    return true;
}
