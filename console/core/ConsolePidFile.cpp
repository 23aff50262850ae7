#include "ConsolePidFile.h"

#include "AppPaths.h"

#include <cstdio>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kMaxPidFileBytes = 4096;

// FNV-1a: a stable name for the installation across programs and builds.
std::string HashText(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(hash));
    return buffer;
}

// Field 22 of /proc/<pid>/stat (clock ticks after boot); empty when the
// process does not exist. The command name in field 2 may hold blanks and
// parentheses, so the fields are counted after its last ')'.
std::string StartTime(pid_t pid) {
    FILE* file = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "re");
    if (!file)
        return {};
    char buffer[1024];
    const size_t count = std::fread(buffer, 1, sizeof buffer - 1, file);
    std::fclose(file);
    const std::string text(buffer, count);
    const size_t close = text.rfind(')');
    if (close == std::string::npos)
        return {};
    std::istringstream fields(text.substr(close + 1));
    std::string field;
    for (int n = 3; n <= 22 && (fields >> field); ++n) {
        if (n == 22)
            return field;
    }
    return {};
}

int OpenRuntimeDirectory() {
    return ::open(GetRuntimeDirectory().c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

} // namespace

CConsolePidFile::CConsolePidFile(std::string installation)
    : m_installation(std::move(installation)),
      m_name("TARN-console-" + HashText(m_installation) + ".pid") {}

CConsolePidFile::~CConsolePidFile() {
    if (!m_written || FindConsole() != ::getpid())
        return;
    const int dir = OpenRuntimeDirectory();
    if (dir >= 0) {
        ::unlinkat(dir, m_name.c_str(), 0);
        ::close(dir);
    }
}

bool CConsolePidFile::Write() {
    const int dir = OpenRuntimeDirectory();
    if (dir < 0)
        return false;
    const std::string temporary = m_name + "." + std::to_string(::getpid()) + ".tmp";
    const std::string text =
        std::to_string(::getpid()) + " " + StartTime(::getpid()) + "\n" + m_installation + "\n";
    ::unlinkat(dir, temporary.c_str(), 0);
    const int fd = ::openat(dir, temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    bool written =
        fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (fd >= 0)
        written = ::close(fd) == 0 && written;
    written = written && ::renameat(dir, temporary.c_str(), dir, m_name.c_str()) == 0;
    if (!written)
        ::unlinkat(dir, temporary.c_str(), 0);
    ::close(dir);
    m_written = written;
    return written;
}

std::string CConsolePidFile::ReadText() const {
    const int dir = OpenRuntimeDirectory();
    if (dir < 0)
        return {};
    const int fd = ::openat(dir, m_name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    ::close(dir);
    if (fd < 0)
        return {};
    struct stat status {};
    std::string text;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::getuid()) {
        char buffer[kMaxPidFileBytes];
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0)
            text.assign(buffer, static_cast<size_t>(count));
    }
    ::close(fd);
    return text;
}

pid_t CConsolePidFile::FindConsole() const {
    std::istringstream text(ReadText());
    long pid = 0;
    std::string startTime, installation;
    if (!(text >> pid >> startTime) || pid <= 0)
        return 0;
    text.ignore(1);
    std::getline(text, installation);
    if (installation != m_installation || StartTime(static_cast<pid_t>(pid)) != startTime)
        return 0;
    return static_cast<pid_t>(pid);
}
