#include "SmsModem.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = CSmsTiming::Clock;

constexpr long kCommandWaitMs = 7500; // reset and init answers
constexpr long kDialWaitMs = 45000;   // final result of the dial command
constexpr long kIoWaitMs = 5000;      // one read or write on the connected call
constexpr long kGuardTimeMs = 1000;   // silence around the "+++" escape
constexpr long kDtrDropMs = 500;
constexpr long kHangUpWaitMs = 2000;

speed_t SpeedConstant(unsigned speed) {
    switch (speed) {
    case 300:
        return B300;
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 230400:
        return B230400;
    case 460800:
        return B460800;
    case 921600:
        return B921600;
    default:
        return B115200;
    }
}

// Control characters in a configured or dialled string could smuggle further
// commands to the modem; they are dropped.
std::string WithoutControls(const std::string& text) {
    std::string clean;
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            clean += c;
        }
    }
    return clean;
}

bool StartsWithAt(const std::string& text) {
    return text.size() >= 2 && std::toupper(static_cast<unsigned char>(text[0])) == 'A' &&
           std::toupper(static_cast<unsigned char>(text[1])) == 'T';
}

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

CSmsModem::CSmsModem(CSmsModemConfig config, CSmsTiming timing)
    : m_config(std::move(config)), m_timing(timing) {}

CSmsModem::~CSmsModem() {
    HangUp();
}

int CSmsModem::Dial(const std::string& dialled) {
    HangUp();
    if (!OpenFirstLine()) {
        return kSmsDialFailed;
    }
    m_bCallPlaced = true;
    if (!WriteBytes("ATD" + WithoutControls(dialled) + "\r", m_timing.DeadlineAfter(kIoWaitMs))) {
        HangUp();
        return kSmsDialFailed;
    }
    const Reply reply = AwaitReply(m_timing.DeadlineAfter(kDialWaitMs));
    if (reply == Reply::Connect) {
        m_bCallEstablished = true;
        return kSmsDialConnected;
    }
    HangUp();
    return DialResultOf(reply);
}

int CSmsModem::DialResultOf(Reply reply) {
    switch (reply) {
    case Reply::Connect:
        return kSmsDialConnected;
    case Reply::Busy:
        return kSmsDialBusy;
    case Reply::NoAnswer:
    case Reply::None:
        return kSmsDialNoConnection;
    case Reply::Error:
        return kSmsDialFailed;
    case Reply::Ok: // back in command mode without a call
    case Reply::NoCarrier:
    case Reply::NoDialtone:
        return kSmsDialDisconnected;
    }
    return kSmsDialFailed;
}

void CSmsModem::HangUp() {
    const bool wasConnected = m_bCallEstablished;
    m_bCallEstablished = false;
    if (m_fd < 0) {
        return;
    }
    if (wasConnected) {
        LeaveDataMode();
    }
    if (m_bCallPlaced) {
        // On a call still being dialled the first byte aborts it; otherwise the
        // modem goes on-hook.
        tcflush(m_fd, TCIFLUSH);
        if (WriteBytes("ATH\r", m_timing.DeadlineAfter(kIoWaitMs))) {
            AwaitReply(m_timing.DeadlineAfter(kHangUpWaitMs));
        }
    }
    ClosePort();
}

void CSmsModem::LeaveDataMode() {
    // Dropping DTR makes a modem set up as usual (&D2) hang up. A line without
    // modem control gets the escape sequence instead.
    int dtr = TIOCM_DTR;
    if (ioctl(m_fd, TIOCMBIC, &dtr) == 0) {
        m_timing.Sleep(kDtrDropMs);
        ioctl(m_fd, TIOCMBIS, &dtr);
        return;
    }
    m_timing.Sleep(kGuardTimeMs);
    tcflush(m_fd, TCIFLUSH);
    if (WriteBytes("+++", m_timing.DeadlineAfter(kIoWaitMs))) {
        AwaitReply(m_timing.DeadlineAfter(2 * kGuardTimeMs));
    }
}

void CSmsModem::ClosePort() {
    tcflush(m_fd, TCIOFLUSH);
    close(m_fd); // HUPCL drops DTR as well
    m_fd = -1;
    m_bCallPlaced = false;
}

bool CSmsModem::OpenFirstLine() {
    for (const std::string& device : m_config.devices) {
        if (!OpenDevice(device)) {
            continue;
        }
        const std::string init = WithoutControls(m_config.init);
        if (Command("ATZ") && (init.empty() || Command(StartsWithAt(init) ? init : "AT" + init))) {
            return true;
        }
        ClosePort();
    }
    return false;
}

bool CSmsModem::OpenDevice(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    termios tio{};
    // Another dial-up holding the line makes the lock fail: that line is taken.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || tcgetattr(fd, &tio) != 0) {
        close(fd);
        return false;
    }
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD | HUPCL;
    tio.c_cflag &= ~CRTSCTS;
    // VMIN 1 with O_NONBLOCK: an empty queue reads as EAGAIN, end of file as 0.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, SpeedConstant(m_config.speed));
    cfsetospeed(&tio, SpeedConstant(m_config.speed));
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        close(fd);
        return false;
    }
    ioctl(fd, TIOCEXCL);
    int dtr = TIOCM_DTR;
    ioctl(fd, TIOCMBIS, &dtr); // a line without modem control refuses this: harmless
    tcflush(fd, TCIOFLUSH);
    m_fd = fd;
    return true;
}

bool CSmsModem::Command(const std::string& command) {
    const auto deadline = m_timing.DeadlineAfter(kCommandWaitMs);
    return WriteBytes(command + "\r", deadline) && AwaitReply(deadline) == Reply::Ok;
}

CSmsModem::Reply CSmsModem::AwaitReply(Clock::time_point deadline) {
    std::string line;
    while (ReadLine(line, deadline)) {
        const Reply reply = Classify(line);
        if (reply != Reply::None) {
            return reply;
        }
    }
    return Reply::None;
}

CSmsModem::Reply CSmsModem::Classify(const std::string& line) {
    // Echoed commands and informational lines (RING, CARRIER ..., PROTOCOL ...)
    // are no final result.
    if (line == "OK")
        return Reply::Ok;
    if (line.rfind("CONNECT", 0) == 0)
        return Reply::Connect;
    if (line == "BUSY")
        return Reply::Busy;
    if (line == "NO CARRIER")
        return Reply::NoCarrier;
    if (line == "NO ANSWER")
        return Reply::NoAnswer;
    if (line == "NO DIALTONE" || line == "NO DIAL TONE")
        return Reply::NoDialtone;
    if (line == "ERROR")
        return Reply::Error;
    return Reply::None;
}

bool CSmsModem::ReadLine(std::string& line, Clock::time_point deadline) {
    // Byte by byte, so that nothing the centre sends after "CONNECT" is taken.
    line.clear();
    while (true) {
        char c = 0;
        const ssize_t got = read(m_fd, &c, 1);
        if (got == 1) {
            if (c == '\r' || c == '\n') {
                if (!line.empty()) {
                    return true;
                }
            } else {
                line += c;
            }
            continue;
        }
        if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            return false; // the line is gone
        }
        if (!PollFor(POLLIN, deadline)) {
            return false;
        }
    }
}

bool CSmsModem::PollFor(short events, Clock::time_point deadline) {
    while (true) {
        pollfd pfd{m_fd, events, 0};
        const int ready = poll(&pfd, 1, MillisecondsUntil(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready > 0 && (pfd.revents & events) != 0;
    }
}

int CSmsModem::InputCount() const {
    int count = 0;
    return ioctl(m_fd, TIOCINQ, &count) == 0 ? count : 0;
}

bool CSmsModem::WriteBytes(std::string_view bytes, Clock::time_point deadline) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(m_fd, bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<size_t>(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        if (!PollFor(POLLOUT, deadline)) {
            return false;
        }
    }
    return true;
}

bool CSmsModem::ReadAll(std::string& answer) {
    answer.clear();
    if (!m_bCallEstablished) {
        return false;
    }
    size_t total = 0;
    while (total < kBufferSize) {
        const int waiting = InputCount();
        if (waiting <= 0) {
            break;
        }
        const size_t want = std::min(kBufferSize - total, static_cast<size_t>(waiting));
        const ssize_t got = read(m_fd, m_buffer.data() + total, want);
        if (got > 0) {
            total += static_cast<size_t>(got);
        } else if (got == 0) {
            break; // end of file counts as a completed read
        } else if (errno != EAGAIN && errno != EINTR) {
            return false;
        } else if (!PollFor(POLLIN, m_timing.DeadlineAfter(kIoWaitMs))) {
            return false;
        }
    }
    answer.assign(m_buffer.data(), total);
    return true;
}

bool CSmsModem::WaitForInput(int ms) {
    const long looks = ms >= 1000 ? ms / 1000 : 1;
    return WaitForInputUntil(m_timing.DeadlineAfter((looks - 1) * 1000));
}

bool CSmsModem::WaitForInputUntil(Clock::time_point deadline) {
    if (!m_bCallEstablished) {
        return false;
    }
    return InputCount() > 0 || PollFor(POLLIN, deadline);
}

bool CSmsModem::Write(std::string_view text) {
    if (!m_bCallEstablished) {
        return false;
    }
    const size_t length = std::min(text.size(), kBufferSize);
    std::copy_n(text.data(), length, m_buffer.data());
    return WriteBytes(std::string_view(m_buffer.data(), length), m_timing.DeadlineAfter(kIoWaitMs));
}
