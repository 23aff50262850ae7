#include "NotificationChannels.h"

#include "FaxSettings.h"
#include "MessageIds.h"
#include "ModemReset.h"
#include "NotificationText.h"
#include "StringTable.h"
#include "TARNTool.h"
#include "UnavailableChannels.h"
#include "tarn/LUSMSLib2.h"
#include "tarn/SnmpExtension.h"

#include <cstring>

namespace {

constexpr const char* kDocumentName = "TARN!";

std::string TestText() {
    return LoadTarnString(IDS_NOTIFICATION_TEST);
}

// The body of both kinds of mail: the configured text before the long text.
std::string MailBody(const NotificationJob& job, const std::string& mailText, bool test) {
    return test ? TestText() : mailText + "\n" + ComposeNotificationText(job) + "\n\n";
}

// A printed page: the configured text before the long text, and a line feed
// that ends the last line.
std::string PageText(const NotificationJob& job, const std::string& configuredText, bool test) {
    return (test ? TestText() : configuredText + "\n\n" + ComposeNotificationText(job)) + "\n";
}

} // namespace

CNotificationChannels::CNotificationChannels(CHistoryRecorder& recorder, std::mutex& sendLock,
                                             const CNotificationCaches& caches,
                                             CGatewayLink* gateway,
                                             const std::string& mailLibraryPath,
                                             IDocumentPrinter& printer, CRegistryFile registry)
    : m_recorder(recorder), m_sendLock(sendLock), m_caches(caches), m_pGateway(gateway),
      m_mail(mailLibraryPath), m_printer(printer), m_registry(std::move(registry)) {}

int32_t CNotificationChannels::Finish(const NotificationJob& job, NotificationChannel channel,
                                      bool test, ChannelOutcome outcome) {
    if (!test)
        m_recorder.WriteNotificationEvent(
            job, outcome.result == CHANNEL_RESULT_SENT ? EVENT_VIEW_INFO : EVENT_VIEW_ERROR,
            ChannelEventText(job, channel, LoadTarnString(outcome.textId)));
    return outcome.result;
}

int32_t CNotificationChannels::SendShortMessage(const DBNotificationSMS& sms,
                                                const DBNotifySrvConfig& settings,
                                                const std::string& text) const {
    // The library cleans the number in place; the job keeps it as configured.
    std::string number = sms.RECIPIENT;
    int32_t network = SMS_NETWORK_NONE;
    if (!LUSMSTranslateAddress(number.data(), &network))
        return SMS_RESULT_NO_NETWORK;
    number.resize(std::strlen(number.c_str()));
    const std::optional<std::string> centre = SmsCentreNumber(settings, network);
    if (!centre)
        return SMS_RESULT_NO_NETWORK;
    return LUSMSSendMessage(network, settings.SMS_DIAL_PREFIX.c_str(), text.c_str(),
                            sms.SENDERINFO.c_str(), number.c_str(), centre->c_str());
}

int32_t CNotificationChannels::SendSmsNotification(const NotificationJob& job, bool test) {
    std::lock_guard guard(m_sendLock);
    const DBNotifySrvConfig settings = m_caches.GetServiceSettings();
    const std::string text = test ? TestText() : ComposeShortText(job);
    ResetModem(ComPortDevice(m_registry, settings.FAX_COM_PORT));
    const int32_t libraryResult = SendShortMessage(job.Notification.SMS, settings, text);
    return Finish(job, CHANNEL_SMS, test, MapSmsResult(libraryResult));
}

int32_t CNotificationChannels::SendMsMailNotification(const NotificationJob& job, bool test) {
    std::lock_guard guard(m_sendLock);
    const DBNotifySrvConfig settings = m_caches.GetServiceSettings();
    const DBNotificationMSMail& mail = job.Notification.MSMail;
    const std::string subject = LoadTarnString(IDS_NOTIFICATION_SUBJECT);
    const std::string body = MailBody(job, mail.MAILTEXT, test);
    std::string recipients = mail.RECIPIENTS; // the library cuts it in place
    SendMailInfo info{settings.MSMAIL_LOGON_PROFILE.c_str(),
                      settings.MSMAIL_LOGON_PROFILE_PASSWORD.c_str(),
                      nullptr,
                      subject.c_str(),
                      body.c_str(),
                      recipients.data(),
                      0};
    return Finish(job, CHANNEL_MSMAIL, test, MapMailResult(m_mail.SendMailMessage(info)));
}

int32_t CNotificationChannels::SendFaxNotification(const NotificationJob& job, bool test) {
    std::lock_guard guard(m_sendLock);
    WriteFaxSettings(m_registry, m_caches.GetServiceSettings());
    const DBNotificationFax& fax = job.Notification.Fax;
    // The fax software dials the number it finds in the document name.
    const std::string documentName = "fax." + fax.RECIPIENT + " - " + kDocumentName;
    const bool printed = m_printer.PrintDocument(kFaxQueueName, documentName,
                                                 PrintedLines(PageText(job, fax.FAXTEXT, test)));
    return Finish(job, CHANNEL_FAX, test, MapFaxResult(printed));
}

int32_t CNotificationChannels::SendPrinterNotification(const NotificationJob& job, bool test) {
    std::lock_guard guard(m_sendLock);
    const DBNotificationPrinter& printer = job.Notification.Printer;
    const bool printed = m_printer.PrintDocument(
        printer.PRINTERNAME, kDocumentName, PrintedLines(PageText(job, printer.PRINTERTEXT, test)));
    return Finish(job, CHANNEL_PRINTER, test, MapPrintResult(printed));
}

int32_t CNotificationChannels::SendSmtpNotification(const NotificationJob& job, bool test) {
    std::lock_guard guard(m_sendLock);
    const DBNotifySrvConfig settings = m_caches.GetServiceSettings();
    const DBNotificationSMTP& smtp = job.Notification.SMTP;
    const int32_t answer =
        m_pGateway ? m_pGateway->SendMail(settings.SMTP_SENDER, settings.SMTP_MAILSERVER,
                                          LoadTarnString(IDS_NOTIFICATION_SUBJECT),
                                          MailBody(job, smtp.MAILTEXT, test), smtp.RECIPIENTS)
                   : GATEWAY_UNAVAILABLE;
    return Finish(job, CHANNEL_SMTP, test, MapSmtpAnswer(answer));
}

int32_t CNotificationChannels::SendSnmpNotification(const NotificationJob& job, bool test) {
    std::lock_guard guard(m_sendLock);
    const DBNotificationSNMP& snmp = job.Notification.SNMP;
    const std::string text = test ? TestText() : ComposeShortText(job);
    const int sent = SnmpSendTrap(snmp.ENTERPRISE.c_str(), SnmpTrapNumber(snmp, job.Stage),
                                  snmp.VARIABLE_ID.c_str(), text.c_str());
    return Finish(job, CHANNEL_SNMP, test, MapTrapResult(sent));
}
