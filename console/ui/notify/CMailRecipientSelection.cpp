#include "CMailRecipientSelection.h"

#include "CDBEngineTARN.h"
#include "CMessageBox.h"
#include "MailLibrary.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QApplication>

#include <array>

namespace {

// The address book's output buffer: the recipients field holds 255 characters.
constexpr size_t kBufferSize = 256;

} // namespace

CMailRecipientSelection::CMailRecipientSelection(CDBEngineTARN& database, std::string libraryPath)
    : m_database(database), m_strLibraryPath(std::move(libraryPath)) {}

bool CMailRecipientSelection::Select(QWidget* parent, QString& recipients) const {
    const CMailLibrary library(m_strLibraryPath);
    if (!library.IsLoaded()) {
        CMessageBox::Error(parent, UiText(IDS_COMPONENT_MISSING));
        return false;
    }
    DBNotifySrvConfig settings;
    m_database.GetNotifyServicesConfig(settings);
    SendMailInfo info{};
    info.profile = settings.MSMAIL_LOGON_PROFILE.c_str();
    info.password = settings.MSMAIL_LOGON_PROFILE_PASSWORD.c_str();
    SendMailLogonRecord logon{};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int32_t logonResult = library.SendMailLogon(logon, info);
    QApplication::restoreOverrideCursor();
    if (logonResult != SENDMAIL_OK) {
        library.SendMailLogoff(logon);
        CMessageBox::Error(parent, UiText(logonResult == MAIL_LIBRARY_MISSING
                                              ? IDS_COMPONENT_MISSING
                                              : IDS_ADDRESS_BOOK_LOGON_FAILED));
        return false;
    }
    const std::string caption = UiText(IDS_RECIPIENT_SELECTION).toStdString();
    const std::string initial = recipients.toStdString();
    std::array<char, kBufferSize> buffer{};
    AddressListInfo request{};
    request.caption = caption.c_str();
    request.initialRecipients = initial.empty() ? nullptr : initial.c_str();
    request.buffer = buffer.data();
    request.bufferSize = static_cast<int32_t>(buffer.size());
    const int32_t result = library.GetAddressList(logon, request);
    library.SendMailLogoff(logon);
    if (result != SENDMAIL_OK)
        return false;
    buffer.back() = '\0';
    recipients = QString::fromUtf8(buffer.data());
    return true;
}
