// The notification thread ("tarn-notify"): every period it works through the
// queue in order, dispatching a copy of each job outside the queue lock, and
// then removes the job when it is complete or stores the updated copy back.
#pragma once

#include "Event.h"
#include "NotificationDispatcher.h"
#include "NotificationList.h"
#include "WorkerThread.h"

#include <chrono>

class CNotificationThread {
public:
    // stopEvent is a manual-reset event owned by the caller; setting it ends the thread.
    CNotificationThread(CNotificationList& queue, CNotificationDispatcher& dispatcher,
                        CEvent& stopEvent,
                        std::chrono::milliseconds period = std::chrono::milliseconds(2000));
    CNotificationThread(const CNotificationThread&) = delete;
    CNotificationThread& operator=(const CNotificationThread&) = delete;

    void Start() { m_worker.Start(); }
    // True from Start until the thread has ended.
    bool IsThreadRunning() const { return m_worker.IsThreadRunning(); }
    void Join() { m_worker.Join(); }
    // Sets the stop event and waits until the thread has ended.
    void Stop() { m_worker.Stop(); }
    // One pass over the queue without waiting.
    void RunPass();

private:
    CNotificationList& m_queue;
    CNotificationDispatcher& m_dispatcher;
    CWorkerThread m_worker; // last: its thread uses the members above
};
