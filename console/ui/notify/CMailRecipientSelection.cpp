#include "CMailRecipientSelection.h"

#include "CBackgroundWork.h"
#include "CDBEngineTARN.h"
#include "CMessageBox.h"
#include "MailLibrary.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

namespace {

// The address book's output buffer: the recipients field holds 255 characters.
constexpr size_t kBufferSize = 256;

// A log-on made on a pool thread; the library stays loaded while it lives.
struct MailLogon {
    std::shared_ptr<const CMailLibrary> library;
    SendMailLogonRecord record{};
    int32_t result = SENDMAIL_LOGON_FAILED;

    void LogOff() {
        if (library)
            library->SendMailLogoff(record);
    }
};

// Shows the address book on the log-on; true with the names chosen.
bool ShowAddressBook(MailLogon& logon, const QString& recipients, QString& chosen) {
    const std::string caption = UiText(IDS_RECIPIENT_SELECTION).toStdString();
    const std::string initial = recipients.toStdString();
    std::array<char, kBufferSize> buffer{};
    AddressListInfo request{};
    request.caption = caption.c_str();
    request.initialRecipients = initial.empty() ? nullptr : initial.c_str();
    request.buffer = buffer.data();
    request.bufferSize = static_cast<int32_t>(buffer.size());
    if (logon.library->GetAddressList(logon.record, request) != SENDMAIL_OK)
        return false;
    buffer.back() = '\0';
    chosen = QString::fromUtf8(buffer.data());
    return true;
}

} // namespace

CMailRecipientSelection::CMailRecipientSelection(CDBEngineTARN& database, std::string libraryPath)
    : m_database(database), m_strLibraryPath(std::move(libraryPath)) {}

void CMailRecipientSelection::Select(QWidget* page, const QString& recipients,
                                     std::function<void(const QString&)> chosen) const {
    auto library = std::make_shared<const CMailLibrary>(m_strLibraryPath);
    if (!library->IsLoaded()) {
        CMessageBox::Error(page, UiText(IDS_COMPONENT_MISSING));
        return;
    }
    DBNotifySrvConfig settings;
    m_database.GetNotifyServicesConfig(settings);
    auto logOn = [library, profile = settings.MSMAIL_LOGON_PROFILE,
                  password = settings.MSMAIL_LOGON_PROFILE_PASSWORD] {
        MailLogon logon;
        logon.library = library;
        SendMailInfo info{};
        info.profile = profile.c_str();
        info.password = password.c_str();
        logon.result = library->SendMailLogon(logon.record, info);
        return logon;
    };
    const QPointer<QWidget> guard(page);
    auto offer = [guard, recipients, chosen = std::move(chosen)](MailLogon& logon) {
        if (logon.result != SENDMAIL_OK) {
            logon.LogOff();
            CMessageBox::Error(guard, UiText(logon.result == MAIL_LIBRARY_MISSING
                                                 ? IDS_COMPONENT_MISSING
                                                 : IDS_ADDRESS_BOOK_LOGON_FAILED));
            return;
        }
        QString names;
        const bool picked = ShowAddressBook(logon, recipients, names);
        logon.LogOff();
        // The address book ran an event loop: the page may have gone meanwhile.
        if (picked && guard)
            chosen(names);
    };
    CBackgroundWork::Run<MailLogon>(page, UiText(IDS_MAIL_LOGON_RUNNING), std::move(logOn),
                                    std::move(offer), [](MailLogon& logon) { logon.LogOff(); });
}
