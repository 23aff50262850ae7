// One console per installation: an exclusive lock on "TARN.lock" in the
// installation directory, held for the console's whole run, with the PID of
// the holder written into the file. Administration commands that rewrite the
// databases take the same lock, so they never run beside a console. The lock
// is an open-file-description lock, released by the system however the
// holder ends; the file stays.
#pragma once

#include <string>
#include <sys/types.h>

inline constexpr const char* kInstallationLockName = "TARN.lock";

class CInstallationLock {
public:
    enum class Result { Taken, HeldByOther, Failed };

    CInstallationLock() = default;
    ~CInstallationLock();
    CInstallationLock(const CInstallationLock&) = delete;
    CInstallationLock& operator=(const CInstallationLock&) = delete;

    // Tries once, without waiting; installationDirectory ends with "/".
    Result Acquire(const std::string& installationDirectory);
    // The PID the holder wrote, after HeldByOther (0 when it cannot be read).
    pid_t Holder() const { return m_nHolder; }

private:
    int m_fd = -1;
    pid_t m_nHolder = 0;
};
