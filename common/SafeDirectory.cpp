#include "SafeDirectory.h"

#include "FileIo.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// What a failed openat means: a link refused by O_NOFOLLOW gives ELOOP, a
// directory opened as a file EISDIR, a file opened as a directory ENOTDIR, a
// FIFO without a reader opened for writing ENXIO.
SafeFileStatus StatusOfError(int error) {
    switch (error) {
    case ENOENT:
        return SafeFileStatus::Missing;
    case ELOOP:
    case EISDIR:
    case ENOTDIR:
    case ENXIO:
    case ENODEV:
        return SafeFileStatus::NotRegular;
    default:
        return SafeFileStatus::Error;
    }
}

bool ClearNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// Checks that fd is a regular file and makes it blocking again.
SafeFileStatus AcceptRegular(int& fd) {
    struct stat info {};
    SafeFileStatus status = SafeFileStatus::Ok;
    if (::fstat(fd, &info) != 0)
        status = SafeFileStatus::Error;
    else if (!S_ISREG(info.st_mode))
        status = SafeFileStatus::NotRegular;
    else if (!ClearNonBlocking(fd))
        status = SafeFileStatus::Error;
    if (status != SafeFileStatus::Ok) {
        ::close(fd);
        fd = -1;
    }
    return status;
}

SafeFileStatus ReadOpened(int fd, size_t limit, std::string& content) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return SafeFileStatus::Error;
    if (static_cast<unsigned long long>(info.st_size) > limit)
        return SafeFileStatus::TooLarge; // before reading: a sparse file costs nothing
    if (ReadAll(fd, content, limit))
        return SafeFileStatus::Ok;
    return errno == EFBIG ? SafeFileStatus::TooLarge : SafeFileStatus::Error; // grew meanwhile
}

} // namespace

std::string DescribeSafeFileStatus(SafeFileStatus status) {
    switch (status) {
    case SafeFileStatus::Ok:
        return "in Ordnung";
    case SafeFileStatus::Missing:
        return "nicht vorhanden";
    case SafeFileStatus::NotRegular:
        return "keine gewöhnliche Datei (Verknüpfung, FIFO, Gerät oder Verzeichnis)";
    case SafeFileStatus::TooLarge:
        return "zu groß";
    case SafeFileStatus::Error:
        break;
    }
    return "nicht lesbar";
}

CSafeDirectory::~CSafeDirectory() {
    if (m_fd >= 0)
        ::close(m_fd);
}

CSafeDirectory::CSafeDirectory(CSafeDirectory&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_status(other.m_status) {}

CSafeDirectory& CSafeDirectory::operator=(CSafeDirectory&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_status = other.m_status;
    }
    return *this;
}

CSafeDirectory CSafeDirectory::OpenTrusted(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return CSafeDirectory(-1, StatusOfError(errno));
    return CSafeDirectory(fd, SafeFileStatus::Ok);
}

CSafeDirectory CSafeDirectory::OpenBelow(const std::string& base, const std::string& path) {
    if (path.compare(0, base.size(), base) != 0)
        return CSafeDirectory(-1, SafeFileStatus::Error);
    CSafeDirectory directory = OpenTrusted(base);
    size_t begin = base.size();
    while (directory.IsOpen() && begin < path.size()) {
        size_t end = path.find('/', begin);
        if (end == std::string::npos)
            end = path.size();
        if (end > begin)
            directory = directory.OpenChild(path.substr(begin, end - begin));
        begin = end + 1;
    }
    return directory;
}

CSafeDirectory CSafeDirectory::OpenChild(const std::string& name) const {
    if (!IsOpen())
        return CSafeDirectory(-1, m_status);
    if (!IsPlainName(name))
        return CSafeDirectory(-1, SafeFileStatus::Error);
    const int fd = ::openat(m_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return CSafeDirectory(-1, StatusOfError(errno));
    return CSafeDirectory(fd, SafeFileStatus::Ok);
}

SafeFileStatus CSafeDirectory::OpenFile(const std::string& name, int access, int& fd) const {
    fd = -1;
    if (!IsOpen())
        return m_status;
    if (!IsPlainName(name))
        return SafeFileStatus::Error;
    fd =
        ::openat(m_fd, name.c_str(), access | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0)
        return StatusOfError(errno);
    return AcceptRegular(fd);
}

SafeFileStatus CSafeDirectory::ReadFile(const std::string& name, size_t limit,
                                        std::string& content) const {
    content.clear();
    int fd = -1;
    SafeFileStatus status = OpenFile(name, O_RDONLY, fd);
    if (status != SafeFileStatus::Ok)
        return status;
    status = ReadOpened(fd, limit, content);
    ::close(fd);
    if (status != SafeFileStatus::Ok)
        content.clear();
    return status;
}

bool CSafeDirectory::ReplaceFile(const std::string& name, std::string_view content,
                                 mode_t mode) const {
    static std::atomic<unsigned> counter{0};
    if (!IsOpen() || !IsPlainName(name))
        return false;
    struct stat old {};
    const bool replacesFile =
        ::fstatat(m_fd, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode);
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = name + ".tmp." + std::to_string(::getpid()) + "." +
                    std::to_string(counter.fetch_add(1));
        fd = ::openat(m_fd, temporary.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    if (replacesFile) {
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        ::fchmod(fd, old.st_mode & 0777);
    }
    bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::renameat(m_fd, temporary.c_str(), m_fd, name.c_str()) != 0) {
        ::unlinkat(m_fd, temporary.c_str(), 0);
        return false;
    }
    return true;
}

bool CSafeDirectory::RemoveFile(const std::string& name) const {
    if (!IsOpen() || !IsPlainName(name))
        return false;
    return ::unlinkat(m_fd, name.c_str(), 0) == 0 || errno == ENOENT;
}

SafeFileStatus CSafeDirectory::Inspect(const std::string& name) const {
    if (!IsOpen())
        return m_status;
    if (!IsPlainName(name))
        return SafeFileStatus::Error;
    struct stat info {};
    if (::fstatat(m_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return StatusOfError(errno);
    return S_ISREG(info.st_mode) ? SafeFileStatus::Ok : SafeFileStatus::NotRegular;
}

bool SplitPathBelow(const std::string& base, const std::string& path, std::string& directory,
                    std::string& name) {
    if (base.empty() || path.size() <= base.size() || path.compare(0, base.size(), base) != 0)
        return false;
    const size_t slash = path.rfind('/');
    name = path.substr(slash + 1);
    directory = path.substr(0, slash + 1);
    return IsPlainName(name) && directory.size() >= base.size();
}

SafeFileStatus ReadFileBelow(const std::string& base, const std::string& path, size_t limit,
                             std::string& content) {
    content.clear();
    std::string directory;
    std::string name;
    if (!SplitPathBelow(base, path, directory, name))
        return SafeFileStatus::Error;
    return CSafeDirectory::OpenBelow(base, directory).ReadFile(name, limit, content);
}

SafeFileStatus OpenRegularFile(const std::string& path, int access, int& fd) {
    const size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    return CSafeDirectory::OpenTrusted(directory).OpenFile(path.substr(slash + 1), access, fd);
}

SafeFileStatus ReadRegularFile(const std::string& path, size_t limit, std::string& content) {
    content.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return StatusOfError(errno);
    SafeFileStatus status = AcceptRegular(fd);
    if (status == SafeFileStatus::Ok) {
        status = ReadOpened(fd, limit, content);
        ::close(fd);
    }
    if (status != SafeFileStatus::Ok)
        content.clear();
    return status;
}
