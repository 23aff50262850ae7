#include "InstallationLock.h"

#include "SafeDirectory.h"

#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace {

constexpr size_t kPidTextLimit = 32;

pid_t ReadHolder(int fd) {
    char text[kPidTextLimit] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    return n > 0 ? static_cast<pid_t>(std::strtol(text, nullptr, 10)) : 0;
}

bool WritePid(int fd) {
    const std::string text = std::to_string(::getpid()) + "\n";
    return ::ftruncate(fd, 0) == 0 &&
           ::pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size());
}

} // namespace

CInstallationLock::~CInstallationLock() {
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

CInstallationLock::Result CInstallationLock::Acquire(const std::string& installationDirectory) {
    if (m_fd >= 0)
        return Result::Taken;
    int fd = -1;
    if (OpenRegularFile(installationDirectory + kInstallationLockName, O_RDWR | O_CREAT, fd) !=
        SafeFileStatus::Ok)
        return Result::Failed;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        m_nHolder = ReadHolder(fd);
        ::close(fd);
        return Result::HeldByOther;
    }
    if (!WritePid(fd)) {
        ::close(fd);
        return Result::Failed;
    }
    m_fd = fd;
    return Result::Taken;
}
