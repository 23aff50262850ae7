#include "DataDirectory.h"

#include "AppPaths.h"
#include "FileIo.h"

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

CDataDirectory::CDataDirectory(CSafeDirectory directory, std::string path)
    : m_directory(std::move(directory)), m_strPath(std::move(path)) {
    struct stat info {};
    if (::fstat(m_directory.Descriptor(), &info) == 0)
        m_nOwner = info.st_uid;
}

std::optional<CDataDirectory> CDataDirectory::Open(const std::string& path) {
    CSafeDirectory directory = CSafeDirectory::OpenTrusted(path);
    if (!directory.IsOpen())
        return std::nullopt;
    return CDataDirectory(std::move(directory), WithTrailingSeparator(path));
}

std::optional<CDataDirectory> CDataDirectory::OpenSubdirectory(const std::string& name) const {
    if (::mkdirat(Fd(), name.c_str(), 0777) != 0 && errno != EEXIST)
        return std::nullopt;
    CSafeDirectory directory = m_directory.OpenChild(name);
    if (!directory.IsOpen())
        return std::nullopt;
    return CDataDirectory(std::move(directory), m_strPath + name + "/");
}

bool CDataDirectory::IsTrustedOwner(uid_t owner) const {
    return owner == 0 || owner == ::geteuid() || owner == m_nOwner;
}

bool CDataDirectory::ReadFile(const std::string& name, size_t maxBytes, std::string& content,
                              bool trustedOnly) const {
    if (!trustedOnly)
        return m_directory.ReadFile(name, maxBytes, content) == SafeFileStatus::Ok;
    int fd = -1;
    if (m_directory.OpenFile(name, O_RDONLY, fd) != SafeFileStatus::Ok)
        return false;
    struct stat info {};
    const bool ok =
        ::fstat(fd, &info) == 0 && IsTrustedOwner(info.st_uid) && ReadAll(fd, content, maxBytes);
    ::close(fd);
    return ok;
}

bool CDataDirectory::WriteAtomically(const std::string& name, std::string_view content,
                                     mode_t mode) const {
    return m_directory.ReplaceFile(name, content, mode);
}

bool CDataDirectory::Remove(const std::string& name) const {
    return m_directory.RemoveFile(name);
}

std::vector<std::string> CDataDirectory::List() const {
    std::vector<std::string> names;
    int fd = ::openat(Fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    return ::fstatat(Fd(), name.c_str(), &byName, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(fd, &byFd) == 0 && byName.st_dev == byFd.st_dev && byName.st_ino == byFd.st_ino;
}

int CDataDirectory::OpenLocked(const std::string& name, int flags, int attempts) const {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(kLockRetryDelay);
        int fd = ::openat(Fd(), name.c_str(),
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
