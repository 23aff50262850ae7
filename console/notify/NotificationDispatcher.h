// One pass of the channels over one notification job: each active channel
// that is not done and lies in its daily window sends once; an SMS that failed
// in a way worth retrying is tried again, at most RETRIES times in all and no
// sooner than the retry interval after the last attempt.
#pragma once

#include "INotificationChannels.h"
#include "NotificationCaches.h"
#include "NotificationJob.h"

#include <chrono>
#include <ctime>
#include <functional>

struct DispatchOptions {
    // The current time; the daily windows use its local hour.
    std::function<std::time_t()> Now = [] { return std::time(nullptr); };
    // The least time between two attempts of one SMS.
    std::chrono::seconds SmsRetryInterval{120};
};

class CNotificationDispatcher {
public:
    CNotificationDispatcher(INotificationChannels& channels, const CNotificationCaches& caches,
                            DispatchOptions options = {});

    void DispatchNotification(NotificationJob& job);
    // Whether the current local hour lies in the window from begin to end.
    bool IsInDailyWindow(int32_t nBegin, int32_t nEnd) const;

private:
    bool IsDue(const NotificationJob& job, NotificationChannel channel, std::time_t now) const;
    void AfterSmsAttempt(ChannelState& state, std::time_t now) const;

    INotificationChannels& m_channels;
    const CNotificationCaches& m_caches;
    const DispatchOptions m_options;
};
