#include "NotificationThread.h"

CNotificationThread::CNotificationThread(CNotificationList& queue,
                                         CNotificationDispatcher& dispatcher, CEvent& stopEvent,
                                         std::chrono::milliseconds period)
    : m_queue(queue), m_dispatcher(dispatcher), m_stopEvent(stopEvent), m_period(period) {}

CNotificationThread::~CNotificationThread() {
    Join();
}

void CNotificationThread::Start() {
    if (m_thread.joinable())
        return;
    m_bThreadRunning = true;
    m_thread = std::thread(&CNotificationThread::Run, this);
}

void CNotificationThread::Join() {
    if (m_thread.joinable())
        m_thread.join();
}

void CNotificationThread::Run() {
    while (!m_stopEvent.Wait(m_period))
        RunPass();
    m_bThreadRunning = false;
}

void CNotificationThread::RunPass() {
    NotificationJob job;
    for (int index = 0; m_queue.GetAt(index, job);) {
        m_dispatcher.DispatchNotification(job);
        if (IsJobComplete(job)) {
            m_queue.Remove(job.JobNumber);
        } else {
            m_queue.Replace(job);
            ++index;
        }
    }
}
