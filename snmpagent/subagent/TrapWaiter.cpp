#include "TrapWaiter.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

CTrapWaiter::~CTrapWaiter() {
    Stop();
}

bool CTrapWaiter::Start(sem_t* semaphore) {
    m_fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_fd < 0) {
        return false;
    }
    m_semaphore = semaphore;
    m_stopping = false;
    // Termination signals belong to the main loop, not to this thread.
    sigset_t blocked;
    sigset_t previous;
    sigfillset(&blocked);
    ::pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    m_thread = std::thread(&CTrapWaiter::Run, this);
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return true;
}

void CTrapWaiter::Stop() {
    if (m_thread.joinable()) {
        m_stopping = true;
        ::sem_post(m_semaphore);
        m_thread.join();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void CTrapWaiter::Acknowledge() {
    uint64_t count = 0;
    while (::read(m_fd, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

void CTrapWaiter::Run() {
    while (true) {
        if (::sem_wait(m_semaphore) != 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (m_stopping) {
            return;
        }
        // Posts that piled up meanwhile stand for the same slot: like an
        // auto-reset event they wake the agent once.
        while (::sem_trywait(m_semaphore) == 0) {
        }
        const uint64_t one = 1;
        while (::write(m_fd, &one, sizeof one) < 0 && errno == EINTR) {
        }
    }
}
