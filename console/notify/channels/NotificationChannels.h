// The six notification channels of the console. Each sends one message of a
// job through its outside component (the SMS library, the mail library, the
// gateway's SMTP client, the SNMP agent library, a print queue or the fax
// queue), records the outcome as a notification event of the job's problem
// unless testing, and returns the channel result. All six hold the console's
// send lock for the whole send, so that one send runs at a time.
#pragma once

#include "ChannelResults.h"
#include "GatewayLink.h"
#include "HistoryRecorder.h"
#include "IDocumentPrinter.h"
#include "INotificationChannels.h"
#include "MailLibrary.h"
#include "NotificationCaches.h"
#include "RegistryFile.h"

#include <mutex>

class CNotificationChannels : public INotificationChannels {
public:
    // gateway may be null (every Internet mail then fails as the gateway
    // cannot be had); mailLibraryPath is loaded here and kept until the
    // channels end; registry is the registry file with the fax software's key
    // and the modem port mapping.
    CNotificationChannels(CHistoryRecorder& recorder, std::mutex& sendLock,
                          const CNotificationCaches& caches, CGatewayLink* gateway,
                          const std::string& mailLibraryPath, IDocumentPrinter& printer,
                          CRegistryFile registry = CRegistryFile());

    // The mail library, also for the recipient selection of the MS-Mail sheet.
    const CMailLibrary& MailLibrary() const { return m_mail; }

    int32_t SendSmsNotification(const NotificationJob& job, bool test) override;
    int32_t SendMsMailNotification(const NotificationJob& job, bool test) override;
    int32_t SendFaxNotification(const NotificationJob& job, bool test) override;
    int32_t SendPrinterNotification(const NotificationJob& job, bool test) override;
    int32_t SendSmtpNotification(const NotificationJob& job, bool test) override;
    int32_t SendSnmpNotification(const NotificationJob& job, bool test) override;

private:
    // The SMS library's result for the recipient of the job.
    int32_t SendShortMessage(const DBNotificationSMS& sms, const DBNotifySrvConfig& settings,
                             const std::string& text) const;
    // Writes the event (unless testing) and returns the channel result.
    int32_t Finish(const NotificationJob& job, NotificationChannel channel, bool test,
                   ChannelOutcome outcome);

    CHistoryRecorder& m_recorder;
    std::mutex& m_sendLock;
    const CNotificationCaches& m_caches;
    CGatewayLink* const m_pGateway;
    const CMailLibrary m_mail;
    IDocumentPrinter& m_printer;
    const CRegistryFile m_registry;
};
