#include "ModemSimulator.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kPollMs = 5;

const char* ResultText(SimDialOutcome outcome) {
    switch (outcome) {
    case SimDialOutcome::Connect:
        return "CONNECT 9600";
    case SimDialOutcome::Busy:
        return "BUSY";
    case SimDialOutcome::NoCarrier:
        return "NO CARRIER";
    case SimDialOutcome::NoAnswer:
        return "NO ANSWER";
    case SimDialOutcome::NoDialtone:
        return "NO DIALTONE";
    case SimDialOutcome::Error:
        return "ERROR";
    case SimDialOutcome::Silence:
        return "";
    }
    return "";
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// Control characters by name, so that a log line shows the exchange.
std::string Printable(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        const char* name = c == 0x02   ? "STX"
                           : c == 0x03 ? "ETX"
                           : c == 0x04 ? "EOT"
                           : c == 0x06 ? "ACK"
                           : c == 0x0D ? "CR"
                           : c == 0x1B ? "ESC"
                                       : nullptr;
        char hex[8];
        std::snprintf(hex, sizeof hex, "<%02X>", c);
        text += name != nullptr           ? std::string("<") + name + ">"
                : (c >= 0x20 && c < 0x7F) ? std::string(1, static_cast<char>(c))
                                          : std::string(hex);
    }
    return text;
}

} // namespace

CModemSimulator::CModemSimulator(SimCentreKind centre) : m_centre(centre) {}

CModemSimulator::~CModemSimulator() {
    Stop();
}

bool CModemSimulator::Start(std::string& error) {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        error = std::string("no pseudo-terminal: ") + std::strerror(errno);
        Stop();
        return false;
    }
    m_strDevice = name;
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    // Raw from the start, so that nothing is echoed or translated before the
    // caller sets the line up itself.
    const int slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slave < 0 || tcgetattr(slave, &tio) != 0) {
        error = std::string("cannot set up ") + name + ": " + std::strerror(errno);
        if (slave >= 0) {
            close(slave);
        }
        Stop();
        return false;
    }
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    close(slave);
    m_bRunning = true;
    m_thread = std::thread(&CModemSimulator::Run, this);
    return true;
}

void CModemSimulator::Stop() {
    m_bRunning = false;
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (m_master >= 0) {
        close(m_master);
        m_master = -1;
    }
}

void CModemSimulator::Run() {
    std::vector<SimAnswer> outbox;
    char buffer[4096];
    while (m_bRunning) {
        pollfd pfd{m_master, POLLIN, 0};
        const int ready = poll(&pfd, 1, kPollMs);
        ssize_t got = 0;
        if (ready > 0 && (pfd.revents & POLLIN) != 0) {
            got = read(m_master, buffer, sizeof buffer);
        }
        {
            std::lock_guard lock(m_mutex);
            if (got > 0) {
                m_bLineOpen = true;
                OnBytes(std::string(buffer, static_cast<size_t>(got)));
            } else if (ready > 0 && (pfd.revents & POLLHUP) != 0) {
                NoteClosed();
            } else if (ready == 0) {
                m_bLineOpen = true; // no hang-up reported: the caller has the line open
            }
            outbox.swap(m_outbox);
        }
        for (const SimAnswer& answer : outbox) {
            SendAnswer(answer);
        }
        outbox.clear();
        if (ready > 0 && got <= 0) {
            usleep(kPollMs * 1000); // hung up: nobody to listen to yet
        }
    }
}

void CModemSimulator::NoteClosed() {
    if (!m_bLineOpen) {
        return;
    }
    m_bLineOpen = false;
    ++m_closes;
    m_mode = Mode::Command;
    m_line.clear();
    m_plusRun = 0;
    m_centre.NewCall();
    m_outbox.clear();
    Log("line closed by the caller");
    m_changed.notify_all();
}

void CModemSimulator::OnBytes(const std::string& bytes) {
    if (m_mode == Mode::Data) {
        OnDataBytes(bytes);
        return;
    }
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (m_mode == Mode::Dialling) {
            // Any byte aborts dialling, as on a real modem.
            m_mode = Mode::Command;
            Log("dialling aborted");
            Reply("NO CARRIER");
            continue;
        }
        if (m_mode == Mode::Data) {
            OnDataBytes(bytes.substr(i));
            return;
        }
        OnCommandByte(bytes[i]);
    }
}

void CModemSimulator::OnCommandByte(char c) {
    if (m_bEcho) {
        m_outbox.push_back(SimAnswer::Whole(std::string(1, c)));
    }
    if (c == '\r') {
        const std::string line = m_line;
        m_line.clear();
        OnCommandLine(line);
    } else if (c != '\n') {
        m_line += c;
    }
}

void CModemSimulator::OnCommandLine(const std::string& line) {
    const std::string command = Upper(line);
    if (command.rfind("AT", 0) != 0) {
        return;
    }
    m_commands.push_back(line);
    Log("command " + line);
    if (command.rfind("ATZ", 0) == 0) {
        if (m_resetOutcome != SimResetOutcome::Silence) {
            Reply(m_resetOutcome == SimResetOutcome::Ok ? "OK" : "ERROR");
        }
    } else if (command.rfind("ATD", 0) == 0) {
        Dial(line.substr(3));
    } else {
        if (command.rfind("ATH", 0) == 0) {
            ++m_hangUps;
            m_changed.notify_all();
        }
        Reply("OK");
    }
}

void CModemSimulator::Dial(const std::string& number) {
    m_dialled.push_back(number);
    Log("dialling " + number);
    if (m_dialOutcome == SimDialOutcome::Silence) {
        m_mode = Mode::Dialling;
        return;
    }
    Reply(ResultText(m_dialOutcome));
    if (m_dialOutcome == SimDialOutcome::Connect) {
        m_mode = Mode::Data;
        m_plusRun = 0;
        m_centre.NewCall();
    }
}

void CModemSimulator::OnDataBytes(const std::string& bytes) {
    // "+++" escapes to command mode; whatever follows it in the same read
    // (a slow reader may get "+++ATH" at once) is taken as commands.
    const size_t pluses = std::min(bytes.find_first_not_of('+'), bytes.size());
    if (pluses > 0 && m_plusRun + static_cast<int>(pluses) >= 3) {
        m_plusRun = 0;
        ++m_escapes;
        m_mode = Mode::Command;
        Log("escape to command mode");
        Reply("OK");
        OnBytes(bytes.substr(pluses));
        return;
    }
    if (pluses == bytes.size()) {
        m_plusRun += static_cast<int>(pluses);
        return;
    }
    m_plusRun = 0;
    const size_t before = m_centre.Units().size();
    for (SimAnswer& answer : m_centre.Feed(bytes)) {
        m_outbox.push_back(std::move(answer));
    }
    for (size_t i = before; i < m_centre.Units().size(); ++i) {
        Log("centre got " + m_centre.Units()[i].kind + ": " + Printable(m_centre.Units()[i].bytes));
    }
    m_changed.notify_all();
}

void CModemSimulator::Reply(const std::string& result) {
    m_outbox.push_back(SimAnswer::Whole("\r\n" + result + "\r\n"));
}

void CModemSimulator::SendAnswer(const SimAnswer& answer) {
    std::chrono::milliseconds delay;
    {
        std::lock_guard lock(m_mutex);
        delay = m_pieceDelay;
    }
    for (size_t i = 0; i < answer.pieces.size(); ++i) {
        if (i > 0) {
            std::this_thread::sleep_for(delay);
        }
        WriteAll(answer.pieces[i]);
    }
}

void CModemSimulator::WriteAll(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size() && m_bRunning) {
        const ssize_t put = write(m_master, bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<size_t>(put);
        } else if (put < 0 && errno != EAGAIN && errno != EINTR) {
            return; // the caller has gone
        } else {
            pollfd pfd{m_master, POLLOUT, 0};
            poll(&pfd, 1, kPollMs);
        }
    }
}

void CModemSimulator::Log(const std::string& text) {
    if (m_log) {
        m_log(text);
    }
}

void CModemSimulator::SetDialOutcome(SimDialOutcome outcome) {
    std::lock_guard lock(m_mutex);
    m_dialOutcome = outcome;
}

void CModemSimulator::SetResetOutcome(SimResetOutcome outcome) {
    std::lock_guard lock(m_mutex);
    m_resetOutcome = outcome;
}

void CModemSimulator::SetEcho(bool echo) {
    std::lock_guard lock(m_mutex);
    m_bEcho = echo;
}

void CModemSimulator::SetPieceDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(m_mutex);
    m_pieceDelay = delay;
}

void CModemSimulator::QueueAnswer(const std::string& unitKind, SimAnswer answer) {
    std::lock_guard lock(m_mutex);
    m_centre.QueueAnswer(unitKind, std::move(answer));
}

void CModemSimulator::ConfigureCentre(const std::function<void(CCentreSimulator&)>& change) {
    std::lock_guard lock(m_mutex);
    change(m_centre);
}

void CModemSimulator::SetLog(std::function<void(const std::string&)> log) {
    std::lock_guard lock(m_mutex);
    m_log = std::move(log);
}

std::vector<std::string> CModemSimulator::Commands() const {
    std::lock_guard lock(m_mutex);
    return m_commands;
}

std::vector<std::string> CModemSimulator::DialledNumbers() const {
    std::lock_guard lock(m_mutex);
    return m_dialled;
}

std::vector<SimUnit> CModemSimulator::Units() const {
    std::lock_guard lock(m_mutex);
    return m_centre.Units();
}

std::string CModemSimulator::Received() const {
    std::lock_guard lock(m_mutex);
    return m_centre.Received();
}

int CModemSimulator::HangUps() const {
    std::lock_guard lock(m_mutex);
    return m_hangUps;
}

int CModemSimulator::Escapes() const {
    std::lock_guard lock(m_mutex);
    return m_escapes;
}

int CModemSimulator::Closes() const {
    std::lock_guard lock(m_mutex);
    return m_closes;
}

bool CModemSimulator::WaitForCloses(int count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_closes >= count; });
}
