// The channel set of a console built without its notification channels: every
// send fails with "Die Benachrichtigungskomponente konnte nicht gefunden
// werden." and is recorded like any failed send, so that queued notifications
// still leave their trace in the history.
#pragma once

#include "HistoryRecorder.h"
#include "INotificationChannels.h"

#include <mutex>

// The channel's sentence for the event text ("SMS Benachrichtigung <name> an
// <recipient> durchgeführt.", ...).
std::string ChannelSentence(const NotificationJob& job, NotificationChannel channel);
// The event text of a send: sentence, status line, "Ergebnis:" and the result text.
std::string ChannelEventText(const NotificationJob& job, NotificationChannel channel,
                             const std::string& resultText);

class CUnavailableChannels : public INotificationChannels {
public:
    CUnavailableChannels(CHistoryRecorder& recorder, std::mutex& sendLock)
        : m_recorder(recorder), m_sendLock(sendLock) {}

    int32_t SendSmsNotification(const NotificationJob& job, bool test) override;
    int32_t SendMsMailNotification(const NotificationJob& job, bool test) override;
    int32_t SendFaxNotification(const NotificationJob& job, bool test) override;
    int32_t SendPrinterNotification(const NotificationJob& job, bool test) override;
    int32_t SendSmtpNotification(const NotificationJob& job, bool test) override;
    int32_t SendSnmpNotification(const NotificationJob& job, bool test) override;

private:
    int32_t Fail(const NotificationJob& job, NotificationChannel channel, bool test);

    CHistoryRecorder& m_recorder;
    std::mutex& m_sendLock;
};
