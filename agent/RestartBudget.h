// At most a number of restarts of one service or application within a window
// of time. Past it, restarts are refused, so that a service that keeps failing
// shows as failing instead of being restarted in a silent loop.
#pragma once

#include <chrono>
#include <ctime>
#include <map>
#include <string>
#include <vector>

class CRestartBudget {
public:
    CRestartBudget(int limit, std::chrono::seconds window);

    // Counts a restart of the target now; false (nothing counted) when the
    // target already had the limit of restarts within the window.
    bool TryTake(const std::string& target, std::time_t now);

    // The restart times of every target, kept across agent restarts.
    const std::map<std::string, std::vector<std::time_t>>& History() const { return m_history; }
    void SetHistory(std::map<std::string, std::vector<std::time_t>> history);

    int Limit() const { return m_nLimit; }
    std::chrono::seconds Window() const { return m_window; }

private:
    void Forget(std::vector<std::time_t>& times, std::time_t now) const;

    int m_nLimit;
    std::chrono::seconds m_window;
    std::map<std::string, std::vector<std::time_t>> m_history;
};
