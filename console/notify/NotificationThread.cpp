#include "NotificationThread.h"

CNotificationThread::CNotificationThread(CNotificationList& queue,
                                         CNotificationDispatcher& dispatcher, CEvent& stopEvent,
                                         std::chrono::milliseconds period)
    : m_queue(queue), m_dispatcher(dispatcher),
      m_worker("tarn-notify", stopEvent, period, [this] { RunPass(); }) {}

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
