#include "NotificationJob.h"

bool IsChannelActive(const DBNotification& notification, NotificationChannel channel) {
    switch (channel) {
    case CHANNEL_SMS:
        return notification.SMS_ACTIVE;
    case CHANNEL_MSMAIL:
        return notification.MSMAIL_ACTIVE;
    case CHANNEL_FAX:
        return notification.FAX_ACTIVE;
    case CHANNEL_PRINTER:
        return notification.PRINTER_ACTIVE;
    case CHANNEL_SMTP:
        return notification.SMTP_ACTIVE;
    case CHANNEL_SNMP:
        return notification.SNMP_ACTIVE;
    default:
        return false;
    }
}

namespace {

template <class SubRecord> void CopyWindow(const SubRecord& record, int32_t& begin, int32_t& end) {
    begin = record.ACTIVE_BEGIN;
    end = record.ACTIVE_END;
}

} // namespace

void GetChannelWindow(const DBNotification& notification, NotificationChannel channel,
                      int32_t& begin, int32_t& end) {
    begin = end = 0;
    switch (channel) {
    case CHANNEL_SMS:
        return CopyWindow(notification.SMS, begin, end);
    case CHANNEL_MSMAIL:
        return CopyWindow(notification.MSMail, begin, end);
    case CHANNEL_FAX:
        return CopyWindow(notification.Fax, begin, end);
    case CHANNEL_PRINTER:
        return CopyWindow(notification.Printer, begin, end);
    case CHANNEL_SMTP:
        return CopyWindow(notification.SMTP, begin, end);
    case CHANNEL_SNMP:
        return CopyWindow(notification.SNMP, begin, end);
    default:
        return;
    }
}

bool IsJobComplete(const NotificationJob& job) {
    for (int channel = 0; channel < CHANNEL_COUNT; ++channel)
        if (IsChannelActive(job.Notification, static_cast<NotificationChannel>(channel)) &&
            !job.Channels[static_cast<size_t>(channel)].Done)
            return false;
    return true;
}

int32_t SnmpTrapNumber(const DBNotificationSNMP& snmp, int32_t stage) {
    switch (stage) {
    case NOTIFY_STAGE_UNRESOLVED:
        return snmp.SPECIFIC_ID_UNRESOLVED;
    case NOTIFY_STAGE_RESOLVED:
        return snmp.SPECIFIC_ID_RESOLVED;
    default:
        return snmp.SPECIFIC_ID;
    }
}
