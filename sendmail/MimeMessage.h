// An internet message (RFC 5322, MIME) written as one file: From, To, Subject,
// Date, Message-ID, a UTF-8 plain-text body, and optionally one attachment read
// from its path while the message is written.
#pragma once

#include "MailAddress.h"

#include <optional>
#include <string>
#include <vector>

class CMimeMessage {
public:
    enum class WriteResult { Written, AttachmentUnreadable, WriteFailed };

    // True for a regular file that opens for reading.
    static bool IsReadableFile(const std::string& path);

    void SetFrom(Mailbox from) { m_from = std::move(from); }
    void AddTo(Mailbox to) { m_to.push_back(std::move(to)); }
    void SetSubject(std::string subject) { m_subject = std::move(subject); }
    void SetBody(std::string body) { m_strBody = std::move(body); }
    // The file name goes into the message (none when empty); the path is read.
    void SetAttachment(std::string path, std::string fileName);

    WriteResult Write(int file) const;

private:
    std::string Headers() const;
    std::string NormalizedBody() const;

    Mailbox m_from;
    std::vector<Mailbox> m_to;
    std::optional<std::string> m_subject;
    std::string m_strBody;
    std::optional<std::string> m_attachmentPath;
    std::string m_strAttachmentName;
};
