#include "TrapSlot.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kObjectMode = 0660;
constexpr size_t kMaxSuffixLength = 32;

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

TARNMemStruct* MapRegion(int fd) {
    void* view = ::mmap(nullptr, sizeof(TARNMemStruct), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return view == MAP_FAILED ? nullptr : static_cast<TARNMemStruct*>(view);
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

// A region worth writing: held by a running agent, and not shorter than the
// record (writing past its end would fault instead of failing).
bool IsLiveRegion(int fd) {
    struct stat status {};
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return ::fstat(fd, &status) == 0 && status.st_size >= off_t{sizeof(TARNMemStruct)} &&
           ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
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

void CTrapSlot::Create() {
    Release();
    CScopedUmask umask(0);
    CreateSemaphore();
    CreateRegion();
}

void CTrapSlot::CreateSemaphore() {
    const std::string name = SemaphoreName();
    ::sem_unlink(name.c_str());
    sem_t* semaphore = ::sem_open(name.c_str(), O_CREAT | O_EXCL, kObjectMode, 0);
    m_semaphore = semaphore == SEM_FAILED ? nullptr : semaphore;
}

void CTrapSlot::CreateRegion() {
    const std::string name = SharedMemName();
    ::shm_unlink(name.c_str());
    const int fd = ::shm_open(name.c_str(), O_CREAT | O_EXCL | O_RDWR, kObjectMode);
    if (fd < 0) {
        return;
    }
    if (::ftruncate(fd, sizeof(TARNMemStruct)) == 0 && HoldRegion(fd)) {
        m_region = MapRegion(fd);
    }
    if (m_region == nullptr) {
        ::close(fd);
        ::shm_unlink(name.c_str());
        return;
    }
    m_regionFd = fd;
    m_region->sEnterprise[0] = '\0';
    m_region->sMessage[0] = '\0';
    m_region->lSpecificTrap = 0;
}

void CTrapSlot::Release() {
    if (m_semaphore != nullptr) {
        ::sem_close(m_semaphore);
        ::sem_unlink(SemaphoreName().c_str());
        m_semaphore = nullptr;
    }
    if (m_region != nullptr) {
        ::munmap(m_region, sizeof(TARNMemStruct));
        ::close(m_regionFd);
        ::shm_unlink(SharedMemName().c_str());
        m_regionFd = -1;
        m_region = nullptr;
    }
}

bool CTrapSlot::Post(const char* enterprise, int32_t specificTrap, const char* variable,
                     const char* message) {
    sem_t* semaphore = ::sem_open(SemaphoreName().c_str(), 0);
    if (semaphore == SEM_FAILED) {
        return false;
    }
    const int fd = ::shm_open(SharedMemName().c_str(), O_RDWR, 0);
    TARNMemStruct* region = fd >= 0 && IsLiveRegion(fd) ? MapRegion(fd) : nullptr;
    if (fd >= 0) {
        ::close(fd);
    }
    if (region == nullptr) {
        ::sem_close(semaphore);
        return false;
    }
    WriteText(region->sEnterprise, enterprise);
    WriteText(region->sVariable, variable);
    WriteText(region->sMessage, message);
    region->lSpecificTrap = specificTrap;
    ::sem_post(semaphore);
    ::sem_close(semaphore);
    ::munmap(region, sizeof(TARNMemStruct));
    return true;
}
