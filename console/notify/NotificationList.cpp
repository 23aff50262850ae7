#include "NotificationList.h"

#include <algorithm>

int32_t CNotificationList::Add(NotificationJob job) {
    std::lock_guard guard(m_lock);
    job.JobNumber = m_nNextJobNumber++;
    m_jobs.push_back(std::move(job));
    return m_jobs.back().JobNumber;
}

int CNotificationList::GetCount() const {
    std::lock_guard guard(m_lock);
    return static_cast<int>(m_jobs.size());
}

bool CNotificationList::GetAt(int nIndex, NotificationJob& job) const {
    std::lock_guard guard(m_lock);
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_jobs.size())
        return false;
    job = m_jobs[static_cast<size_t>(nIndex)];
    return true;
}

bool CNotificationList::Replace(const NotificationJob& job) {
    std::lock_guard guard(m_lock);
    auto found = std::find_if(m_jobs.begin(), m_jobs.end(), [&](const NotificationJob& stored) {
        return stored.JobNumber == job.JobNumber;
    });
    if (found == m_jobs.end())
        return false;
    *found = job;
    return true;
}

bool CNotificationList::Remove(int32_t nJobNumber) {
    std::lock_guard guard(m_lock);
    auto found = std::find_if(m_jobs.begin(), m_jobs.end(), [&](const NotificationJob& stored) {
        return stored.JobNumber == nJobNumber;
    });
    if (found == m_jobs.end())
        return false;
    m_jobs.erase(found);
    return true;
}

void CNotificationList::Clear() {
    std::lock_guard guard(m_lock);
    m_jobs.clear();
}
