// The notification queue: jobs in the order they were added, a job-number
// counter and one lock. Every operation takes the lock for itself only, so it
// is never held while a channel sends.
#pragma once

#include "NotificationJob.h"

#include <mutex>
#include <vector>

class CNotificationList {
public:
    // Gives the job the counter's value, increments the counter and appends it;
    // returns the number given.
    int32_t Add(NotificationJob job);
    int GetCount() const;
    // A copy of the job at the index; false when the index is past the end.
    bool GetAt(int nIndex, NotificationJob& job) const;
    // Replaces the job with the same job number; false when it is gone.
    bool Replace(const NotificationJob& job);
    // Removes the job with the number; false when it is gone.
    bool Remove(int32_t nJobNumber);
    // Drops every job (the console ends).
    void Clear();

private:
    mutable std::mutex m_lock;
    std::vector<NotificationJob> m_jobs;
    int32_t m_nNextJobNumber = 1;
};
