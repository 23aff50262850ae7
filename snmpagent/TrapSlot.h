// The shared trap slot: a TARNMemStruct in POSIX shared memory, followed by
// the slot's state word, and the named semaphore posted after it was written.
//
// The agent creates both with mode 0660, owned by its own user and group: run
// it with the group of the console's account so that the console can send
// and nobody else can. The console only opens them, never creates them, and
// writes only into objects that a trusted account owns (see IsTrustedObject).
#pragma once

#include "tarn/TARNMemStruct.h"

#include <atomic>
#include <semaphore.h>
#include <string>
#include <sys/stat.h>

// What lies in the shared memory object: the record of the interface and,
// behind it, whether the agent has taken the trap written last.
struct STrapRegion {
    TARNMemStruct trap;
    std::atomic<uint32_t> state;
};

class CTrapSlot {
public:
    // The slot's state word.
    enum : uint32_t {
        kTaken = 0,   // free: the agent took the last trap (or none was written)
        kWaiting = 1, // a trap waits for the agent
        kWriting = 2, // a sender is writing a trap
    };
    // How long SnmpSendTrap waits for the agent to take the trap before.
    static constexpr int kTakenWaitMs = 2000;

    CTrapSlot() = default;
    ~CTrapSlot();
    CTrapSlot(const CTrapSlot&) = delete;
    CTrapSlot& operator=(const CTrapSlot&) = delete;

    // Agent side: removes objects of an earlier run that survived it and
    // creates the semaphore and the cleared region afresh. On failure nothing
    // is kept, the accessors return nullptr and Error() says why (for example
    // objects that another account created and this one cannot remove).
    void Create();
    // Agent side: unmaps and closes both and removes their names.
    void Release();
    sem_t* Semaphore() const { return m_semaphore; }
    const TARNMemStruct* Region() const { return m_region ? &m_region->trap : nullptr; }
    // Agent side: the trap in the region has been copied; a sender may write
    // the next one.
    void MarkTaken();
    const std::string& Error() const { return m_error; }

    // Console side: writes one trap into the slot of a running agent and posts
    // its semaphore. False, with nothing changed, when either object is
    // missing, cannot be opened, is not the agent's (IsTrustedObject), or when
    // the agent has not taken the previous trap within kTakenWaitMs.
    static bool Post(const char* enterprise, int32_t specificTrap, const char* variable,
                     const char* message);

    // Whether an object of the slot, as fstat describes it, may be written:
    // a regular file of at least minSize bytes, no access for others, owned
    // by root, by this process's user or by the agent's account (AgentUid),
    // and in a group of this process unless this process's user owns it.
    static bool IsTrustedObject(const struct stat& status, off_t minSize);
    // The account the agent runs as: TARN_SNMP_AGENT_USER, else "Debian-snmp";
    // -1 when no such user exists.
    static uid_t AgentUid();

    // The names in use: the fixed names plus the optional suffix from the
    // environment.
    static std::string SharedMemName();
    static std::string SemaphoreName();
    // Where the system keeps the named semaphore.
    static std::string SemaphorePath();

private:
    bool CreateSemaphore();
    bool CreateRegion();
    // The reason an object could not be made, with its owner when it exists.
    void Fail(const std::string& what, const std::string& path, int error);

    sem_t* m_semaphore = nullptr;
    STrapRegion* m_region = nullptr;
    int m_regionFd = -1; // kept open for the lock that shows the agent runs
    std::string m_error;
};
