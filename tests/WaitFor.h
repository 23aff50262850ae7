// Waiting in a test for something another process or thread brings about,
// shared by the tests of every folder.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// True as soon as the condition holds; polls it every 50 ms for at most the
// given seconds and asks it once more at the end.
inline bool WaitFor(const std::function<bool()>& condition, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}
