#include "MimeMessage.h"

#include "MimeEncoding.h"
#include "UniqueName.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Base64 lines carry 57 bytes each; the attachment is read in whole lines.
constexpr size_t kBase64LineBytes = 57;
constexpr size_t kAttachmentChunk = kBase64LineBytes * 1024;

// Collects output and writes it in large pieces; remembers the first failure.
class FileWriter {
public:
    explicit FileWriter(int file) : m_file(file) {}
    void Put(std::string_view text) {
        m_buffer += text;
        if (m_buffer.size() >= kAttachmentChunk * 2)
            Flush();
    }
    bool Flush() {
        size_t done = 0;
        while (m_ok && done < m_buffer.size()) {
            const ssize_t written = ::write(m_file, m_buffer.data() + done, m_buffer.size() - done);
            if (written < 0 && errno == EINTR)
                continue;
            m_ok = written > 0;
            done += written > 0 ? static_cast<size_t>(written) : 0;
        }
        m_buffer.clear();
        return m_ok;
    }

private:
    int m_file;
    std::string m_buffer;
    bool m_ok = true;
};

// "Thu, 13 Feb 2025 10:00:00 +0100" in local time, independent of the locale.
std::string DateHeaderValue() {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    const long offset = local.tm_gmtoff / 60;
    const long absolute = offset < 0 ? -offset : offset;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  kDays[local.tm_wday], local.tm_mday, kMonths[local.tm_mon], local.tm_year + 1900,
                  local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+', absolute / 60,
                  absolute % 60);
    return text;
}

std::string MailboxText(const Mailbox& mailbox) {
    if (mailbox.displayName.empty())
        return mailbox.address;
    return Phrase(mailbox.displayName) + " <" + mailbox.address + ">";
}

std::string MessageIdDomain(const std::string& address) {
    const size_t at = address.rfind('@');
    return at == std::string::npos ? "localhost" : address.substr(at + 1);
}

bool WriteBase64File(int input, FileWriter& out) {
    std::string chunk(kAttachmentChunk, '\0');
    bool firstLine = true;
    for (;;) {
        size_t filled = 0;
        while (filled < chunk.size()) {
            const ssize_t got = ::read(input, chunk.data() + filled, chunk.size() - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return false;
            if (got == 0)
                break;
            filled += static_cast<size_t>(got);
        }
        for (size_t line = 0; line < filled; line += kBase64LineBytes) {
            if (!firstLine)
                out.Put("\n");
            firstLine = false;
            out.Put(EncodeBase64(
                std::string_view(chunk).substr(line, std::min(kBase64LineBytes, filled - line))));
        }
        if (filled < chunk.size())
            return true;
    }
}

// The part header that says how the text body is encoded, and the body itself.
std::pair<std::string, std::string> EncodeBody(const std::string& body) {
    if (IsSevenBitText(body))
        return {"7bit", body};
    return {"quoted-printable", EncodeQuotedPrintable(body)};
}

} // namespace

bool CMimeMessage::IsReadableFile(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    struct stat status {};
    const bool regular = ::fstat(file, &status) == 0 && S_ISREG(status.st_mode);
    ::close(file);
    return regular;
}

void CMimeMessage::SetAttachment(std::string path, std::string fileName) {
    m_attachmentPath = std::move(path);
    m_strAttachmentName = std::move(fileName);
}

// Text with "\n" line ends only, ending with one unless empty.
std::string CMimeMessage::NormalizedBody() const {
    std::string body;
    body.reserve(m_strBody.size() + 1);
    for (size_t i = 0; i < m_strBody.size(); ++i) {
        if (m_strBody[i] == '\r') {
            body.push_back('\n');
            if (i + 1 < m_strBody.size() && m_strBody[i + 1] == '\n')
                ++i;
        } else {
            body.push_back(m_strBody[i]);
        }
    }
    if (!body.empty() && body.back() != '\n')
        body.push_back('\n');
    return body;
}

std::string CMimeMessage::Headers() const {
    std::string to;
    for (const Mailbox& recipient : m_to)
        to += (to.empty() ? "" : ", ") + MailboxText(recipient);
    std::string headers = FoldHeader("From", MailboxText(m_from)) + FoldHeader("To", to);
    if (m_subject && !m_subject->empty())
        headers += FoldHeader("Subject", UnstructuredText(*m_subject));
    headers += "Date: " + DateHeaderValue() + "\n";
    headers += "Message-ID: <" + UniqueName() + "@" + MessageIdDomain(m_from.address) + ">\n";
    return headers + "MIME-Version: 1.0\n";
}

CMimeMessage::WriteResult CMimeMessage::Write(int file) const {
    const auto [encoding, body] = EncodeBody(NormalizedBody());
    const std::string textHeaders = "Content-Type: text/plain; charset=UTF-8\n"
                                    "Content-Transfer-Encoding: " +
                                    encoding + "\n";
    FileWriter out(file);
    out.Put(Headers());
    if (!m_attachmentPath) {
        out.Put(textHeaders + "\n" + body);
        return out.Flush() ? WriteResult::Written : WriteResult::WriteFailed;
    }

    const int attachment = ::open(m_attachmentPath->c_str(), O_RDONLY | O_CLOEXEC);
    if (attachment < 0)
        return WriteResult::AttachmentUnreadable;
    std::string boundary;
    do {
        boundary = "=_" + UniqueName();
    } while (body.find("--" + boundary) != std::string::npos);
    const std::string disposition =
        m_strAttachmentName.empty() ? "attachment"
                                    : "attachment; " + Parameter("filename", m_strAttachmentName);
    out.Put("Content-Type: multipart/mixed; boundary=\"" + boundary +
            "\"\n\n"
            "This is a multi-part message in MIME format.\n"
            "--" +
            boundary + "\n" + textHeaders + "\n" + body +
            "\n"
            "--" +
            boundary +
            "\n"
            "Content-Type: application/octet-stream\n" +
            FoldHeader("Content-Disposition", disposition) +
            "Content-Transfer-Encoding: base64\n\n");
    const bool read = WriteBase64File(attachment, out);
    ::close(attachment);
    if (!read)
        return WriteResult::AttachmentUnreadable;
    out.Put("\n--" + boundary + "--\n");
    return out.Flush() ? WriteResult::Written : WriteResult::WriteFailed;
}
