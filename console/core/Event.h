// A Win32-style event: manual- or auto-reset, with timed waits.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class CEvent {
public:
    explicit CEvent(bool manualReset = false, bool initiallySet = false)
        : m_bManualReset(manualReset), m_bSet(initiallySet) {}

    void Set() {
        {
            std::lock_guard guard(m_mutex);
            m_bSet = true;
        }
        if (m_bManualReset)
            m_condition.notify_all();
        else
            m_condition.notify_one();
    }

    void Reset() {
        std::lock_guard guard(m_mutex);
        m_bSet = false;
    }

    // Returns true when the event was set within the time-out; an auto-reset
    // event is consumed by the waiter that sees it.
    bool Wait(std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        if (!m_condition.wait_for(lock, timeout, [this] { return m_bSet; }))
            return false;
        if (!m_bManualReset)
            m_bSet = false;
        return true;
    }

    void Wait() {
        std::unique_lock lock(m_mutex);
        m_condition.wait(lock, [this] { return m_bSet; });
        if (!m_bManualReset)
            m_bSet = false;
    }

    bool IsSet() const {
        std::lock_guard guard(m_mutex);
        return m_bSet;
    }

private:
    const bool m_bManualReset;
    bool m_bSet;
    mutable std::mutex m_mutex;
    std::condition_variable m_condition;
};
