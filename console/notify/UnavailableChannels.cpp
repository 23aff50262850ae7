#include "UnavailableChannels.h"

#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"
#include "TARNTool.h"

namespace {

constexpr int32_t kChannelFailed = 2;

std::string Sentence(unsigned id, const std::string& name, const std::string& target) {
    return FillMessage(LoadTarnString(id), {name, target});
}

} // namespace

std::string ChannelSentence(const NotificationJob& job, NotificationChannel channel) {
    const DBNotification& n = job.Notification;
    switch (channel) {
    case CHANNEL_SMS:
        return Sentence(IDS_SMS_SENTENCE, n.NAME, n.SMS.RECIPIENT);
    case CHANNEL_MSMAIL:
        return Sentence(IDS_MSMAIL_SENTENCE, n.NAME, n.MSMail.RECIPIENTS);
    case CHANNEL_FAX:
        return Sentence(IDS_FAX_SENTENCE, n.NAME, n.Fax.RECIPIENT);
    case CHANNEL_PRINTER:
        return Sentence(IDS_PRINTER_SENTENCE, n.NAME, n.Printer.PRINTERNAME);
    case CHANNEL_SMTP:
        return Sentence(IDS_SMTP_SENTENCE, n.NAME, n.SMTP.RECIPIENTS);
    case CHANNEL_SNMP:
        return FillMessage(LoadTarnString(IDS_SNMP_SENTENCE),
                           {n.NAME, std::to_string(static_cast<uint32_t>(
                                        SnmpTrapNumber(job.Notification.SNMP, job.Stage)))});
    default:
        return {};
    }
}

std::string ChannelEventText(const NotificationJob& job, NotificationChannel channel,
                             const std::string& resultText) {
    return ChannelSentence(job, channel) + " " + LoadTarnString(IDS_LABEL_STATUS) + " " +
           GetNotifyStageText(static_cast<NotifyStage>(job.Stage)) + " " +
           LoadTarnString(IDS_RESULT_LABEL) + " " + resultText;
}

int32_t CUnavailableChannels::Fail(const NotificationJob& job, NotificationChannel channel,
                                   bool test) {
    std::lock_guard guard(m_sendLock);
    if (!test)
        m_recorder.WriteNotificationEvent(
            job, EVENT_VIEW_ERROR,
            ChannelEventText(job, channel, LoadTarnString(IDS_COMPONENT_MISSING)));
    return kChannelFailed;
}

int32_t CUnavailableChannels::SendSmsNotification(const NotificationJob& job, bool test) {
    return Fail(job, CHANNEL_SMS, test);
}
int32_t CUnavailableChannels::SendMsMailNotification(const NotificationJob& job, bool test) {
    return Fail(job, CHANNEL_MSMAIL, test);
}
int32_t CUnavailableChannels::SendFaxNotification(const NotificationJob& job, bool test) {
    return Fail(job, CHANNEL_FAX, test);
}
int32_t CUnavailableChannels::SendPrinterNotification(const NotificationJob& job, bool test) {
    return Fail(job, CHANNEL_PRINTER, test);
}
int32_t CUnavailableChannels::SendSmtpNotification(const NotificationJob& job, bool test) {
    return Fail(job, CHANNEL_SMTP, test);
}
int32_t CUnavailableChannels::SendSnmpNotification(const NotificationJob& job, bool test) {
    return Fail(job, CHANNEL_SNMP, test);
}
