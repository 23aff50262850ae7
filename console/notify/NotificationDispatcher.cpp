#include "NotificationDispatcher.h"

#include "DailyWindow.h"
#include "LUTool.h"

int32_t SendThroughChannel(INotificationChannels& channels, NotificationChannel channel,
                           const NotificationJob& job, bool test) {
    switch (channel) {
    case CHANNEL_SMS:
        return channels.SendSmsNotification(job, test);
    case CHANNEL_MSMAIL:
        return channels.SendMsMailNotification(job, test);
    case CHANNEL_FAX:
        return channels.SendFaxNotification(job, test);
    case CHANNEL_PRINTER:
        return channels.SendPrinterNotification(job, test);
    case CHANNEL_SMTP:
        return channels.SendSmtpNotification(job, test);
    case CHANNEL_SNMP:
        return channels.SendSnmpNotification(job, test);
    default:
        return 0;
    }
}

CNotificationDispatcher::CNotificationDispatcher(INotificationChannels& channels,
                                                 const CNotificationCaches& caches,
                                                 DispatchOptions options)
    : m_channels(channels), m_caches(caches), m_options(std::move(options)) {}

bool CNotificationDispatcher::IsInDailyWindow(int32_t nBegin, int32_t nEnd) const {
    return IsInActiveWindowAt(nBegin, nEnd, m_options.Now());
}

void CNotificationDispatcher::DispatchNotification(NotificationJob& job) {
    LUTool().Assert(job.Notification.NOTIFICATION_ID > 0, "NotificationInfo.DBNotification.ID > 0",
                    "NotificationID nicht gültig", __FILE__, __LINE__, 0);
    for (int index = 0; index < CHANNEL_COUNT; ++index) {
        const auto channel = static_cast<NotificationChannel>(index);
        const std::time_t now = m_options.Now();
        if (!IsDue(job, channel, now))
            continue;
        ChannelState& state = job.Channels[static_cast<size_t>(index)];
        state.LastResult = SendThroughChannel(m_channels, channel, job, false);
        state.Done = true;
        if (channel == CHANNEL_SMS)
            AfterSmsAttempt(state, m_options.Now());
    }
}

bool CNotificationDispatcher::IsDue(const NotificationJob& job, NotificationChannel channel,
                                    std::time_t now) const {
    const ChannelState& state = job.Channels[static_cast<size_t>(channel)];
    if (!IsChannelActive(job.Notification, channel) || state.Done)
        return false;
    int32_t begin = 0, end = 0;
    GetChannelWindow(job.Notification, channel, begin, end);
    if (!IsInDailyWindow(begin, end))
        return false;
    if (channel == CHANNEL_SMS && state.Attempts > 0 &&
        now < state.LastAttempt + static_cast<std::time_t>(m_options.SmsRetryInterval.count()))
        return false;
    return true;
}

void CNotificationDispatcher::AfterSmsAttempt(ChannelState& state, std::time_t now) const {
    ++state.Attempts;
    state.LastAttempt = now;
    if (state.LastResult == CHANNEL_RESULT_RETRY &&
        state.Attempts < m_caches.GetServiceSettings().SMS_RETRIES)
        state.Done = false;
}
