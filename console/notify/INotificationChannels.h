// The six ways a notification reaches people. Each sends one message for a
// job and returns 1 when sent, 1000 for an SMS failure worth retrying, and any
// other value for a failure. Without the test flag a channel records its
// outcome as a notification event of the job's problem; with it, it sends the
// test text and records nothing. Every channel holds the console's send lock
// while it sends.
#pragma once

#include "NotificationJob.h"

#include <cstdint>

// Channel results the dispatch looks at.
inline constexpr int32_t CHANNEL_RESULT_SENT = 1;
inline constexpr int32_t CHANNEL_RESULT_RETRY = 1000;

class INotificationChannels {
public:
    virtual ~INotificationChannels() = default;
    virtual int32_t SendSmsNotification(const NotificationJob& job, bool test) = 0;
    virtual int32_t SendMsMailNotification(const NotificationJob& job, bool test) = 0;
    virtual int32_t SendFaxNotification(const NotificationJob& job, bool test) = 0;
    virtual int32_t SendPrinterNotification(const NotificationJob& job, bool test) = 0;
    virtual int32_t SendSmtpNotification(const NotificationJob& job, bool test) = 0;
    virtual int32_t SendSnmpNotification(const NotificationJob& job, bool test) = 0;
};

// Calls the channel's operation.
int32_t SendThroughChannel(INotificationChannels& channels, NotificationChannel channel,
                           const NotificationJob& job, bool test);
