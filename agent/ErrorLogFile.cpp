#include "ErrorLogFile.h"

#include "FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// About three seconds: the console holds the file for one check only.
constexpr int kLockAttempts = 30;
// A log larger than this is not read into memory for trimming.
constexpr size_t kMaxTrimInput = 256u << 20;

} // namespace

std::string DropMarkedLines(const std::string& text) {
    std::string kept;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        end = end == std::string::npos ? text.size() : end + 1;
        if (text[begin] != '0')
            kept.append(text, begin, end - begin);
        begin = end;
    }
    return kept;
}

CErrorLogFile::CErrorLogFile(const CDataDirectory& exchange, std::string computer, size_t maxSize)
    : m_exchange(exchange), m_strComputer(std::move(computer)), m_nMaxSize(maxSize) {}

bool CErrorLogFile::EnsureExists() const {
    int fd = ::openat(m_exchange.Fd(), FileName().c_str(),
                      O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    struct stat info {};
    bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
}

void CErrorLogFile::Add(const ErrorLine& line) {
    m_queue.push_back(FormatErrorLine(m_strComputer, line));
}

bool CErrorLogFile::Flush() {
    if (m_queue.empty())
        return true;
    int fd = m_exchange.OpenLocked(FileName(), O_RDWR | O_APPEND | O_CREAT, kLockAttempts);
    if (fd < 0)
        return false;
    // A line that a crash left without its end would swallow the first new line.
    std::string text;
    struct stat info {};
    char last = '\n';
    if (::fstat(fd, &info) == 0 && info.st_size > 0 && ::pread(fd, &last, 1, info.st_size - 1) != 1)
        last = '\n';
    if (last != '\n')
        text = "\n";
    for (const std::string& line : m_queue)
        text += line;
    bool written = WriteAll(fd, text);
    ::close(fd); // releases the lock
    if (written)
        m_queue.clear();
    return written;
}

bool CErrorLogFile::Trim() const {
    struct stat info {};
    if (::fstatat(m_exchange.Fd(), FileName().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        static_cast<size_t>(info.st_size) <= m_nMaxSize)
        return true;
    int fd = m_exchange.OpenLocked(FileName(), O_RDWR, kLockAttempts);
    if (fd < 0)
        return false;
    std::string text;
    bool ok = ReadAll(fd, text, kMaxTrimInput);
    if (ok) {
        std::string kept = DropMarkedLines(text);
        // The new file replaces the name while the old one is still locked:
        // the console never marks a line in a file that no longer has the name.
        if (kept.size() != text.size())
            ok = m_exchange.WriteAtomically(FileName(), kept);
    }
    ::close(fd);
    return ok;
}
