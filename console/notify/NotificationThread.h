// The notification thread: every period it works through the queue in order,
// dispatching a copy of each job outside the queue lock, and then removes the
// job when it is complete or stores the updated copy back.
#pragma once

#include "Event.h"
#include "NotificationDispatcher.h"
#include "NotificationList.h"

#include <atomic>
#include <chrono>
#include <thread>

class CNotificationThread {
public:
    // stopEvent is a manual-reset event owned by the caller; setting it ends the thread.
    CNotificationThread(CNotificationList& queue, CNotificationDispatcher& dispatcher,
                        CEvent& stopEvent,
                        std::chrono::milliseconds period = std::chrono::milliseconds(2000));
    ~CNotificationThread();
    CNotificationThread(const CNotificationThread&) = delete;
    CNotificationThread& operator=(const CNotificationThread&) = delete;

    void Start();
    // True from Start until the thread has ended.
    bool IsThreadRunning() const { return m_bThreadRunning; }
    void Join();
    // One pass over the queue without waiting.
    void RunPass();

private:
    void Run();

    CNotificationList& m_queue;
    CNotificationDispatcher& m_dispatcher;
    CEvent& m_stopEvent;
    const std::chrono::milliseconds m_period;
    std::thread m_thread;
    std::atomic<bool> m_bThreadRunning{false};
};
