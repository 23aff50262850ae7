// Waits for the extension agent's trap semaphore in a thread of its own and
// turns each wake-up into a readable eventfd, so that net-snmp's
// single-threaded main loop learns of traps without ever blocking on the
// semaphore.
#pragma once

#include <atomic>
#include <semaphore.h>
#include <thread>

class CTrapWaiter {
public:
    CTrapWaiter() = default;
    ~CTrapWaiter();
    CTrapWaiter(const CTrapWaiter&) = delete;
    CTrapWaiter& operator=(const CTrapWaiter&) = delete;

    // Starts waiting on semaphore; false when the eventfd cannot be made.
    bool Start(sem_t* semaphore);
    void Stop();
    // Readable while a signal has not been acknowledged.
    int Fd() const { return m_fd; }
    void Acknowledge();

private:
    void Run();

    sem_t* m_semaphore = nullptr;
    int m_fd = -1;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};
