// The exports of the mail library. The logon record's members point at the
// objects that make up an open log-on: the profile (session), its message
// store, the store's outbox and the profile's address book.
#include "tarn/LUSendMail.h"

#include "AddressBook.h"
#include "AddressDialog.h"
#include "MailProfile.h"
#include "MailText.h"
#include "MessageStore.h"
#include "MimeMessage.h"
#include "Outbox.h"
#include "OutboxDraft.h"
#include "SubmitCommand.h"
#include "TextEncoding.h"

#include <cstring>

namespace {

// Longest attachment file name and display name copied, in bytes.
constexpr size_t kLongestFileName = 259;
constexpr size_t kLongestDisplayName = 255;

CMailProfile* Session(const SendMailLogonRecord& logon) {
    return static_cast<CMailProfile*>(logon.session);
}
CMessageStore* Store(const SendMailLogonRecord& logon) {
    return static_cast<CMessageStore*>(logon.store);
}
COutbox* OutboxOf(const SendMailLogonRecord& logon) {
    return static_cast<COutbox*>(logon.outbox);
}
CAddressBook* Book(const SendMailLogonRecord& logon) {
    return static_cast<CAddressBook*>(logon.addressBook);
}

bool IsComplete(const SendMailLogonRecord* logon) {
    return logon && logon->session && logon->store && logon->outbox && logon->addressBook;
}

std::string Text(const char* text) {
    return text ? text : "";
}

CSubmitCommand SubmitCommandOf(const CMailProfile& profile) {
    return CSubmitCommand(profile.SubmitCommand(), profile.SubmitTimeoutSeconds());
}

// The part of the path behind its last "/", or else behind its last ":", or
// else nothing.
std::string AttachmentFileName(std::string_view path) {
    size_t separator = path.rfind('/');
    if (separator == std::string_view::npos)
        separator = path.rfind(':');
    if (separator == std::string_view::npos)
        return "";
    return std::string(CutUtf8(path.substr(separator + 1), kLongestFileName));
}

// Cuts the caller's recipient list in place at each ";" and resolves every
// piece against the address book.
int32_t ResolveRecipients(char* recipients, const CAddressBook& book,
                          std::vector<Mailbox>& resolved) {
    if (!recipients)
        return SENDMAIL_RESOLVE_FAILED;
    const std::vector<std::string_view> pieces = SplitRecipients(recipients);
    for (char* cut = std::strchr(recipients, ';'); cut; cut = std::strchr(cut + 1, ';'))
        *cut = '\0';
    for (std::string_view piece : pieces) {
        Mailbox mailbox;
        if (!book.Resolve(piece, mailbox))
            return SENDMAIL_RESOLVE_FAILED;
        resolved.push_back(std::move(mailbox));
    }
    return SENDMAIL_OK;
}

// The recipients as the message's "To"; each must carry a valid address.
int32_t SetRecipients(CMimeMessage& message, std::vector<Mailbox>& recipients) {
    for (Mailbox& recipient : recipients) {
        if (!IsMailAddress(recipient.address))
            return SENDMAIL_RECIPIENTS_FAILED;
        message.AddTo(std::move(recipient));
    }
    return SENDMAIL_OK;
}

int32_t SetContent(CMimeMessage& message, const SendMailInfo& info) {
    // Text from older configurations may still be Windows-1252.
    if (info.subject)
        message.SetSubject(DecodeExternalText(info.subject));
    message.SetBody(DecodeExternalText(Text(info.body)));
    if (!info.attachment || !*info.attachment)
        return SENDMAIL_OK;
    if (!CMimeMessage::IsReadableFile(info.attachment))
        return SENDMAIL_PROPERTIES_FAILED;
    message.SetAttachment(info.attachment, AttachmentFileName(info.attachment));
    return SENDMAIL_OK;
}

// Writes the message into the draft, queues it in the outbox and submits.
int32_t Submit(const CMimeMessage& message, COutboxDraft& draft, const SendMailLogonRecord& logon) {
    switch (message.Write(draft.File())) {
    case CMimeMessage::WriteResult::AttachmentUnreadable:
        return SENDMAIL_PROPERTIES_FAILED;
    case CMimeMessage::WriteResult::WriteFailed:
        return SENDMAIL_CREATE_FAILED;
    case CMimeMessage::WriteResult::Written:
        break;
    }
    if (!draft.Queue())
        return SENDMAIL_CREATE_FAILED;
    // Whether the command took it does not matter to the caller: what it did
    // not take stays queued for the next try.
    OutboxOf(logon)->SubmitWaiting(SubmitCommandOf(*Session(logon)));
    return SENDMAIL_OK;
}

int32_t LogOn(SendMailLogonRecord* logon, const SendMailInfo* info) {
    if (!logon)
        return SENDMAIL_LOGON_FAILED;
    // A record that still held anything would be leaked, never freed twice.
    *logon = SendMailLogonRecord{};
    if (!info)
        return SENDMAIL_LOGON_FAILED;
    auto profile = CMailProfile::LogOn(Text(info->profile), Text(info->password));
    if (!profile)
        return SENDMAIL_LOGON_FAILED;
    logon->session = profile.release();

    auto store = CMessageStore::Open(Session(*logon)->StorePath());
    if (!store)
        return SENDMAIL_STORE_FAILED;
    logon->store = store.release();

    auto outbox = COutbox::Open(*Store(*logon));
    if (!outbox)
        return SENDMAIL_OUTBOX_FAILED;
    logon->outbox = outbox.release();

    auto book = CAddressBook::Open(Session(*logon)->AddressBookPath());
    if (!book)
        return SENDMAIL_ADDRESS_BOOK_FAILED;
    logon->addressBook = book.release();

    OutboxOf(*logon)->SubmitWaiting(SubmitCommandOf(*Session(*logon)));
    return SENDMAIL_OK;
}

int32_t LogOff(SendMailLogonRecord* logon) {
    if (!logon)
        return SENDMAIL_OK;
    delete OutboxOf(*logon);
    logon->outbox = nullptr;
    delete Store(*logon);
    logon->store = nullptr;
    delete Book(*logon);
    logon->addressBook = nullptr;
    delete Session(*logon);
    logon->session = nullptr;
    return SENDMAIL_OK;
}

int32_t SendOnLogon(SendMailLogonRecord* logon, SendMailInfo* info) {
    if (!IsComplete(logon))
        return SENDMAIL_NOT_LOGGED_ON;
    const auto draft = OutboxOf(*logon)->CreateDraft();
    if (!draft)
        return SENDMAIL_CREATE_FAILED;
    if (!info)
        return SENDMAIL_RESOLVE_FAILED;
    std::vector<Mailbox> recipients;
    if (const int32_t code = ResolveRecipients(info->recipients, *Book(*logon), recipients))
        return code;
    CMimeMessage message;
    message.SetFrom(Session(*logon)->From());
    if (const int32_t code = SetRecipients(message, recipients))
        return code;
    if (const int32_t code = SetContent(message, *info))
        return code;
    return Submit(message, *draft, *logon);
}

// Empties the buffer and appends the names, ";"-separated, each only when it
// fits; a name that does not fit is skipped and later ones are still tried.
void FillAddressBuffer(const std::vector<std::string>& names, AddressListInfo& request) {
    if (!request.buffer || request.bufferSize <= 0)
        return;
    const size_t size = static_cast<size_t>(request.bufferSize);
    size_t length = 0;
    request.buffer[0] = '\0';
    for (const std::string& full : names) {
        const std::string_view name = CutUtf8(full, kLongestDisplayName);
        if (name.empty() || name.size() + length + 1 >= size)
            continue;
        if (length > 0)
            request.buffer[length++] = ';';
        std::memcpy(request.buffer + length, name.data(), name.size());
        length += name.size();
        request.buffer[length] = '\0';
    }
}

int32_t ShowAddressBook(SendMailLogonRecord* logon, AddressListInfo* request) {
    if (!IsComplete(logon))
        return SENDMAIL_NOT_LOGGED_ON;
    if (!request)
        return SENDMAIL_DIALOG_FAILED;
    // The initial list is split on a copy: the caller's text stays as it was.
    std::vector<std::string> initial;
    if (request->initialRecipients) {
        for (std::string_view piece : SplitRecipients(request->initialRecipients))
            initial.emplace_back(piece);
    }
    std::vector<std::string> chosen;
    if (!CAddressDialog::Show(Text(request->caption), *Book(*logon), initial, chosen))
        return SENDMAIL_DIALOG_FAILED;
    FillAddressBuffer(chosen, *request);
    return SENDMAIL_OK;
}

} // namespace

extern "C" {

int32_t SendMailLogon(SendMailLogonRecord* logon, const SendMailInfo* info) {
    return LogOn(logon, info);
}

int32_t SendMailLogoff(SendMailLogonRecord* logon) {
    return LogOff(logon);
}

int32_t SendMailMessageEx(SendMailLogonRecord* logon, SendMailInfo* info) {
    return SendOnLogon(logon, info);
}

int32_t SendMailMessage(SendMailInfo* info) {
    SendMailLogonRecord logon{};
    int32_t code = LogOn(&logon, info);
    if (code == SENDMAIL_OK)
        code = SendOnLogon(&logon, info);
    LogOff(&logon);
    return code;
}

int32_t GetAddressList(SendMailLogonRecord* logon, AddressListInfo* request) {
    return ShowAddressBook(logon, request);
}

} // extern "C"
