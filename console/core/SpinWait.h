// A short busy wait before blocking: a hand-off between two threads that is
// usually answered within microseconds is then caught without the sleep and
// wake-up of a blocking wait, and a wait that lasts longer costs at most the
// limit of spinning before the caller blocks as before.
#pragma once

#include <chrono>
#include <thread>

// Polls ready() until it returns true (true) or the limit has passed (false).
template <class Ready> bool SpinUntil(Ready ready, std::chrono::microseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        for (int i = 0; i < 64; ++i) {
            if (ready())
                return true;
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
        }
        if (std::chrono::steady_clock::now() >= end)
            return ready();
        std::this_thread::yield(); // lets the other side run on a busy machine
    }
}
