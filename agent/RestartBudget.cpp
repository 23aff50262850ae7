#include "RestartBudget.h"

#include <algorithm>

CRestartBudget::CRestartBudget(int limit, std::chrono::seconds window)
    : m_nLimit(limit), m_window(window) {}

void CRestartBudget::Forget(std::vector<std::time_t>& times, std::time_t now) const {
    const std::time_t oldest = now - static_cast<std::time_t>(m_window.count());
    times.erase(std::remove_if(times.begin(), times.end(),
                               [&](std::time_t when) { return when <= oldest || when > now; }),
                times.end());
}

bool CRestartBudget::TryTake(const std::string& target, std::time_t now) {
    std::vector<std::time_t>& times = m_history[target];
    Forget(times, now);
    if (static_cast<int>(times.size()) >= m_nLimit)
        return false;
    times.push_back(now);
    return true;
}

void CRestartBudget::SetHistory(std::map<std::string, std::vector<std::time_t>> history) {
    m_history = std::move(history);
}
