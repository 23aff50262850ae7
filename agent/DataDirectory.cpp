#include "DataDirectory.h"

#include "AppPaths.h"
#include "FileIo.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr auto kLockRetryDelay = std::chrono::milliseconds(100);

bool LockWholeFile(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET; // l_start = l_len = 0: the whole file
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

} // namespace

CDataDirectory::CDataDirectory(int fd, std::string path) : m_nFd(fd), m_strPath(std::move(path)) {
    struct stat info {};
    if (::fstat(fd, &info) == 0)
        m_nOwner = info.st_uid;
}

CDataDirectory::~CDataDirectory() {
    if (m_nFd >= 0)
        ::close(m_nFd);
}

CDataDirectory::CDataDirectory(CDataDirectory&& other) noexcept
    : m_nFd(other.m_nFd), m_strPath(std::move(other.m_strPath)), m_nOwner(other.m_nOwner) {
    other.m_nFd = -1;
}

CDataDirectory& CDataDirectory::operator=(CDataDirectory&& other) noexcept {
    if (this != &other) {
        if (m_nFd >= 0)
            ::close(m_nFd);
        m_nFd = other.m_nFd;
        m_strPath = std::move(other.m_strPath);
        m_nOwner = other.m_nOwner;
        other.m_nFd = -1;
    }
    return *this;
}

std::optional<CDataDirectory> CDataDirectory::Open(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    return CDataDirectory(fd, WithTrailingSeparator(path));
}

std::optional<CDataDirectory> CDataDirectory::OpenSubdirectory(const std::string& name) const {
    if (::mkdirat(m_nFd, name.c_str(), 0777) != 0 && errno != EEXIST)
        return std::nullopt;
    int fd = ::openat(m_nFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    return CDataDirectory(fd, m_strPath + name + "/");
}

bool CDataDirectory::IsTrustedOwner(uid_t owner) const {
    return owner == 0 || owner == ::geteuid() || owner == m_nOwner;
}

bool CDataDirectory::ReadFile(const std::string& name, size_t maxBytes, std::string& content,
                              bool trustedOnly) const {
    int fd =
        ::openat(m_nFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<size_t>(info.st_size) <= maxBytes &&
              (!trustedOnly || IsTrustedOwner(info.st_uid)) && ReadAll(fd, content, maxBytes);
    ::close(fd);
    return ok;
}

bool CDataDirectory::WriteAtomically(const std::string& name, std::string_view content,
                                     mode_t mode) const {
    static std::atomic<unsigned> counter{0};
    struct stat old {};
    if (::fstatat(m_nFd, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode))
        mode = old.st_mode & 0777;
    const std::string temp = "." + name + ".tmp." + std::to_string(::getpid()) + "." +
                             std::to_string(counter.fetch_add(1));
    int fd =
        ::openat(m_nFd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, content) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    // renameat replaces the name itself, also when it was a link.
    if (!ok || ::renameat(m_nFd, temp.c_str(), m_nFd, name.c_str()) != 0) {
        ::unlinkat(m_nFd, temp.c_str(), 0);
        return false;
    }
    return true;
}

bool CDataDirectory::Remove(const std::string& name) const {
    return ::unlinkat(m_nFd, name.c_str(), 0) == 0 || errno == ENOENT;
}

std::vector<std::string> CDataDirectory::List() const {
    std::vector<std::string> names;
    int fd = ::openat(m_nFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return names;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return names;
    }
    while (const dirent* entry = ::readdir(dir))
        names.emplace_back(entry->d_name);
    ::closedir(dir);
    return names;
}

bool CDataDirectory::NamesFile(const std::string& name, int fd) const {
    struct stat byName {
    }, byFd{};
    return ::fstatat(m_nFd, name.c_str(), &byName, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(fd, &byFd) == 0 && byName.st_dev == byFd.st_dev && byName.st_ino == byFd.st_ino;
}

int CDataDirectory::OpenLocked(const std::string& name, int flags, int attempts) const {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(kLockRetryDelay);
        int fd = ::openat(m_nFd, name.c_str(),
                          flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0)
            return -1;
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd);
            return -1;
        }
        if (LockWholeFile(fd) && NamesFile(name, fd)) {
            // Reads and writes block normally from here on.
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            return fd;
        }
        ::close(fd);
    }
    return -1;
}
