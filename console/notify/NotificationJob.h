// One notification to be sent for one problem, and the state of each of its
// six channels. Jobs live in memory only.
#pragma once

#include "AuditionSnapshot.h"
#include "DBRecords.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

// The channels in their fixed order (also the order of the active flags).
enum NotificationChannel : int {
    CHANNEL_SMS = 0,
    CHANNEL_MSMAIL = 1,
    CHANNEL_FAX = 2,
    CHANNEL_PRINTER = 3,
    CHANNEL_SMTP = 4,
    CHANNEL_SNMP = 5,
    CHANNEL_COUNT = 6,
};

struct ChannelState {
    int32_t LastResult = 0; // the channel function's last return value
    int32_t Attempts = 0;   // sends so far
    std::time_t LastAttempt = 0;
    bool Done = false;
};

struct NotificationJob {
    int32_t First = 1;     // 1 in every new job; not read by the dispatch
    int32_t JobNumber = 0; // given by the queue; identifies the job in it
    int32_t Stage = 0;     // NotifyStage
    int32_t ProblemID = 0;
    AuditionSnapshot Audition; // at queue time, with the error signal
    int32_t ProfileID = 0;
    std::string ProfileName;
    std::string ProfileDescription;
    DBNotification Notification; // copy at queue time
    std::array<ChannelState, CHANNEL_COUNT> Channels{};
};

// Whether the channel's active flag is set in the notification.
bool IsChannelActive(const DBNotification& notification, NotificationChannel channel);
// The channel's daily window (ACTIVE_BEGIN, ACTIVE_END).
void GetChannelWindow(const DBNotification& notification, NotificationChannel channel,
                      int32_t& begin, int32_t& end);
// No channel is both active and not done.
bool IsJobComplete(const NotificationJob& job);
// The trap number of a stage: the resolved and unresolved numbers for their
// stages, the number of a new problem for every other stage.
int32_t SnmpTrapNumber(const DBNotificationSNMP& snmp, int32_t stage);
