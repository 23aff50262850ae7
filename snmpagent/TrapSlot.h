// The shared trap slot: a TARNMemStruct in POSIX shared memory and the named
// semaphore posted after it was written.
//
// The agent creates both with mode 0660, owned by its own user and group: run
// it with the group of the console's account so that the console can send
// and nobody else can. The console only opens them, never creates them.
#pragma once

#include "tarn/TARNMemStruct.h"

#include <semaphore.h>
#include <string>

class CTrapSlot {
public:
    CTrapSlot() = default;
    ~CTrapSlot();
    CTrapSlot(const CTrapSlot&) = delete;
    CTrapSlot& operator=(const CTrapSlot&) = delete;

    // Agent side: removes objects of an earlier run that survived it and
    // creates the semaphore and the cleared region afresh. Either may fail on
    // its own; the accessors then return nullptr.
    void Create();
    // Agent side: unmaps and closes both and removes their names.
    void Release();
    sem_t* Semaphore() const { return m_semaphore; }
    const TARNMemStruct* Region() const { return m_region; }

    // Console side: writes one trap into the slot of a running agent and posts
    // its semaphore. False, with nothing changed, when either object is
    // missing or cannot be opened.
    static bool Post(const char* enterprise, int32_t specificTrap, const char* variable,
                     const char* message);

    // The names in use: the fixed names plus the optional suffix from the
    // environment.
    static std::string SharedMemName();
    static std::string SemaphoreName();

private:
    void CreateSemaphore();
    void CreateRegion();

    sem_t* m_semaphore = nullptr;
    TARNMemStruct* m_region = nullptr;
    int m_regionFd = -1; // kept open for the lock that shows the agent runs
};
