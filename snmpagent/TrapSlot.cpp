#include "TrapSlot.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>
#include <vector>

static_assert(std::atomic<uint32_t>::is_always_lock_free, "the state word is shared by processes");
static_assert(offsetof(STrapRegion, state) == sizeof(TARNMemStruct),
              "the state word follows the record");

namespace {

constexpr mode_t kObjectMode = 0660;
constexpr size_t kMaxSuffixLength = 32;
constexpr const char* kDefaultAgentUser = "Debian-snmp";
constexpr const char* kAgentUserEnv = "TARN_SNMP_AGENT_USER";
constexpr auto kTakenPollInterval = std::chrono::milliseconds(2);

std::string NameSuffix() {
    const char* suffix = std::getenv(TARN_SNMP_NAME_SUFFIX_ENV);
    if (suffix == nullptr || std::strlen(suffix) > kMaxSuffixLength) {
        return {};
    }
    const bool plain = std::all_of(suffix, suffix + std::strlen(suffix), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
    });
    return plain ? suffix : std::string();
}

// sem_open and shm_open apply the umask to the mode; the group must keep its
// access whatever umask the host runs with. The host is single-threaded while
// the agent starts, so the short change of the process's umask is safe.
class CScopedUmask {
public:
    explicit CScopedUmask(mode_t mask) : m_previous(::umask(mask)) {}
    ~CScopedUmask() { ::umask(m_previous); }

private:
    mode_t m_previous;
};

STrapRegion* MapRegion(int fd) {
    void* view = ::mmap(nullptr, sizeof(STrapRegion), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return view == MAP_FAILED ? nullptr : static_cast<STrapRegion*>(view);
}

// The agent holds a shared lock on its region for as long as it runs. The
// lock belongs to the open file description, so that it shows even to a
// sender in the agent's own process, and it goes with the agent: a region
// left behind by a crashed agent is not mistaken for a running one.
bool HoldRegion(int fd) {
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// A region worth writing: the agent's (see IsTrustedObject), held by a
// running agent, and not shorter than the region (writing past its end
// would fault instead of failing).
bool IsLiveRegion(int fd, struct stat& status) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return ::fstat(fd, &status) == 0 &&
           CTrapSlot::IsTrustedObject(status, off_t{sizeof(STrapRegion)}) &&
           ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

// The agent's semaphore, mapped from the file the system keeps it in, so that
// the file checked is the one posted: sem_open gives no descriptor to check.
sem_t* OpenTrustedSemaphore(const struct stat& region) {
    const int fd =
        ::open(CTrapSlot::SemaphorePath().c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat status {};
    void* view = MAP_FAILED;
    // One creator for both objects: the agent makes them together.
    if (::fstat(fd, &status) == 0 && CTrapSlot::IsTrustedObject(status, off_t{sizeof(sem_t)}) &&
        status.st_uid == region.st_uid && status.st_gid == region.st_gid) {
        view = ::mmap(nullptr, sizeof(sem_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    }
    ::close(fd);
    return view == MAP_FAILED ? nullptr : static_cast<sem_t*>(view);
}

bool InGroupOfThisProcess(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<size_t>(std::max(count, 0)));
    const int found = ::getgroups(count, groups.data());
    return found > 0 &&
           std::find(groups.begin(), groups.begin() + found, group) != groups.begin() + found;
}

// Claims the slot for writing: waits, bounded, until the agent has taken the
// trap written before, so that no trap overwrites one still waiting.
bool ClaimSlot(STrapRegion& region) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(CTrapSlot::kTakenWaitMs);
    for (;;) {
        uint32_t expected = CTrapSlot::kTaken;
        if (region.state.compare_exchange_strong(expected, CTrapSlot::kWriting,
                                                 std::memory_order_acquire)) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kTakenPollInterval);
    }
}

// Copies at most 255 characters and fills the rest of the field with NULs.
void WriteText(char (&field)[TARN_MEM_TEXT_SIZE], const char* text) {
    std::strncpy(field, text != nullptr ? text : "", TARN_MEM_TEXT_SIZE - 1);
    field[TARN_MEM_TEXT_SIZE - 1] = '\0';
}

} // namespace

CTrapSlot::~CTrapSlot() {
    Release();
}

std::string CTrapSlot::SharedMemName() {
    return TARN_SHARED_MEM_NAME + NameSuffix();
}

std::string CTrapSlot::SemaphoreName() {
    return TARN_TRAP_SEMAPHORE_NAME + NameSuffix();
}

std::string CTrapSlot::SemaphorePath() {
    // glibc keeps a named semaphore "/NAME" as the file /dev/shm/sem.NAME.
    return "/dev/shm/sem." + SemaphoreName().substr(1);
}

uid_t CTrapSlot::AgentUid() {
    const char* name = std::getenv(kAgentUserEnv);
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    ::getpwnam_r(name != nullptr && *name != '\0' ? name : kDefaultAgentUser, &entry, buffer,
                 sizeof buffer, &found);
    return found != nullptr ? found->pw_uid : static_cast<uid_t>(-1);
}

bool CTrapSlot::IsTrustedObject(const struct stat& status, off_t minSize) {
    const uid_t owner = status.st_uid;
    const bool trustedOwner = owner == 0 || owner == ::geteuid() || owner == AgentUid();
    return S_ISREG(status.st_mode) && status.st_size >= minSize &&
           (status.st_mode & S_IRWXO) == 0 && trustedOwner &&
           (owner == ::geteuid() || InGroupOfThisProcess(status.st_gid));
}

void CTrapSlot::Create() {
    Release();
    m_error.clear();
    CScopedUmask umask(0);
    if (!CreateSemaphore() || !CreateRegion()) {
        Release();
    }
}

void CTrapSlot::Fail(const std::string& what, const std::string& path, int error) {
    struct stat status {};
    if (error == EEXIST && ::lstat(path.c_str(), &status) == 0) {
        // Another account's object in the sticky /dev/shm: only its owner (or
        // root) may remove it, and traps must not go to it.
        m_error = "the " + what + " " + path + " belongs to uid " + std::to_string(status.st_uid) +
                  " (gid " + std::to_string(status.st_gid) + ") and cannot be replaced by uid " +
                  std::to_string(::geteuid());
    } else {
        m_error = "the " + what + " " + path + " cannot be created: " + std::strerror(error);
    }
}

bool CTrapSlot::CreateSemaphore() {
    const std::string name = SemaphoreName();
    ::sem_unlink(name.c_str());
    sem_t* semaphore = ::sem_open(name.c_str(), O_CREAT | O_EXCL, kObjectMode, 0);
    if (semaphore == SEM_FAILED) {
        Fail("semaphore", SemaphorePath(), errno);
        return false;
    }
    m_semaphore = semaphore;
    return true;
}

bool CTrapSlot::CreateRegion() {
    const std::string name = SharedMemName();
    ::shm_unlink(name.c_str());
    const int fd = ::shm_open(name.c_str(), O_CREAT | O_EXCL | O_RDWR, kObjectMode);
    if (fd < 0) {
        Fail("shared memory", "/dev/shm" + name, errno);
        return false;
    }
    if (::ftruncate(fd, sizeof(STrapRegion)) == 0 && HoldRegion(fd)) {
        m_region = MapRegion(fd);
    }
    if (m_region == nullptr) {
        Fail("shared memory", "/dev/shm" + name, errno);
        ::close(fd);
        ::shm_unlink(name.c_str());
        return false;
    }
    m_regionFd = fd;
    m_region->trap.sEnterprise[0] = '\0';
    m_region->trap.sMessage[0] = '\0';
    m_region->trap.lSpecificTrap = 0;
    m_region->state.store(kTaken);
    return true;
}

void CTrapSlot::Release() {
    if (m_semaphore != nullptr) {
        ::sem_close(m_semaphore);
        ::sem_unlink(SemaphoreName().c_str());
        m_semaphore = nullptr;
    }
    if (m_region != nullptr) {
        ::munmap(m_region, sizeof(STrapRegion));
        ::close(m_regionFd);
        ::shm_unlink(SharedMemName().c_str());
        m_regionFd = -1;
        m_region = nullptr;
    }
}

void CTrapSlot::MarkTaken() {
    if (m_region != nullptr) {
        // Only a trap that was waiting: a sender may be writing the next one.
        uint32_t waiting = kWaiting;
        m_region->state.compare_exchange_strong(waiting, kTaken, std::memory_order_release);
    }
}

bool CTrapSlot::Post(const char* enterprise, int32_t specificTrap, const char* variable,
                     const char* message) {
    const int fd = ::shm_open(SharedMemName().c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK, 0);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    STrapRegion* region = IsLiveRegion(fd, status) ? MapRegion(fd) : nullptr;
    ::close(fd);
    sem_t* semaphore = region != nullptr ? OpenTrustedSemaphore(status) : nullptr;
    const bool claimed = semaphore != nullptr && ClaimSlot(*region);
    if (claimed) {
        WriteText(region->trap.sEnterprise, enterprise);
        WriteText(region->trap.sVariable, variable);
        WriteText(region->trap.sMessage, message);
        region->trap.lSpecificTrap = specificTrap;
        region->state.store(kWaiting, std::memory_order_release);
        ::sem_post(semaphore);
    }
    if (semaphore != nullptr) {
        ::munmap(semaphore, sizeof(sem_t));
    }
    if (region != nullptr) {
        ::munmap(region, sizeof(STrapRegion));
    }
    return claimed;
}
