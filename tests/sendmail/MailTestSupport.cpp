#include "MailTestSupport.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
}

std::string DecodeBase64(const std::string& text) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        const size_t value = alphabet.find(c);
        if (value == std::string::npos)
            continue;
        bits = bits << 6 | static_cast<uint32_t>(value);
        if (++count == 4) {
            out.push_back(static_cast<char>(bits >> 16));
            out.push_back(static_cast<char>(bits >> 8 & 0xFF));
            out.push_back(static_cast<char>(bits & 0xFF));
            bits = 0;
            count = 0;
        }
    }
    if (count == 3) {
        out.push_back(static_cast<char>(bits >> 10));
        out.push_back(static_cast<char>(bits >> 2 & 0xFF));
    } else if (count == 2) {
        out.push_back(static_cast<char>(bits >> 4));
    }
    return out;
}

CMailTestSystem::CMailTestSystem() {
    char pattern[] = "/tmp/tarn-mail-XXXXXX";
    m_strDir = ::mkdtemp(pattern);
    fs::create_directories(OutboxPath());
    fs::create_directories(m_strDir + "/sent");
    WriteFile(BookPath(), "# test address book\n"
                          "Alice Example <alice@example.org>\n"
                          "Bob <bob@example.org>\r\n"
                          "\n"
                          "Support <support1@example.org>\n"
                          "support <support2@example.org>\n"
                          "J\xC3\xBCrgen M\xC3\xBCller <juergen@example.de>\n"
                          "\"Doe, Jane\" <jane@example.org>\n"
                          "Broken <not an address>\n");
    WriteFile(SubmitScript(), "#!/bin/sh\n"
                              "dir='" +
                                  m_strDir +
                                  "'\n"
                                  "if [ -e \"$dir/fail\" ]; then cat >/dev/null; exit 75; fi\n"
                                  "f=$(mktemp \"$dir/sent/msg.XXXXXXXX\") || exit 1\n"
                                  "cat > \"$f\" || exit 1\n"
                                  "printf '%s\\n' \"$@\" > \"$f.args\"\n"
                                  "echo \"$f\" >> \"$dir/sent.log\"\n");
    ::chmod(SubmitScript().c_str(), 0755);
    WriteProfile(StandardKeys(m_strDir));
    ::setenv("TARN_MAIL_PROFILES", ProfilesPath().c_str(), 1);
}

CMailTestSystem::~CMailTestSystem() {
    ::unsetenv("TARN_MAIL_PROFILES");
    std::error_code error;
    fs::remove_all(m_strDir, error);
}

std::vector<std::string> CMailTestSystem::StandardKeys(const std::string& dir) {
    return {"Password=secret", "From=TARN Monitor <monitor@example.org>", "Store=" + dir + "/store",
            "AddressBook=" + dir + "/addresses.txt", "Submit=" + dir + "/submit.sh -t -oi"};
}

void CMailTestSystem::WriteProfile(const std::vector<std::string>& keys) const {
    std::string text = "[Other]\nPassword=other\n\n[Monitor]\n";
    for (const std::string& key : keys)
        text += key + "\n";
    WriteFile(ProfilesPath(), text);
}

void CMailTestSystem::SetSubmitFailing(bool failing) const {
    if (failing)
        WriteFile(m_strDir + "/fail", "");
    else
        fs::remove(m_strDir + "/fail");
}

std::vector<std::string> CMailTestSystem::Sent() const {
    std::vector<std::string> messages;
    std::istringstream log(ReadFile(m_strDir + "/sent.log"));
    std::string path;
    while (std::getline(log, path))
        messages.push_back(ReadFile(path));
    return messages;
}

std::string CMailTestSystem::SentArguments(size_t index) const {
    std::istringstream log(ReadFile(m_strDir + "/sent.log"));
    std::string path;
    for (size_t i = 0; i <= index; ++i)
        std::getline(log, path);
    return ReadFile(path + ".args");
}

namespace {

std::vector<std::string> OutboxNames(const std::string& outbox, bool hidden) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(outbox, error)) {
        const std::string name = entry.path().filename().string();
        if ((name.front() == '.') == hidden)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::vector<std::string> CMailTestSystem::Waiting() const {
    return OutboxNames(OutboxPath(), false);
}

std::vector<std::string> CMailTestSystem::Drafts() const {
    return OutboxNames(OutboxPath(), true);
}

TestMessage::TestMessage(const std::string& to, const char* subject, const char* body)
    : recipients(to.begin(), to.end()) {
    recipients.push_back('\0');
    info.profile = "Monitor";
    info.password = "secret";
    info.subject = subject;
    info.body = body;
    info.recipients = recipients.data();
}

namespace {

// Checks the text against a pattern where "9" stands for a digit, "x" for a
// lower-case hex digit, "A" for a letter and "*" for one or more characters up
// to the next pattern character; every other character stands for itself.
bool Matches(std::string_view text, std::string_view pattern) {
    size_t t = 0;
    for (size_t p = 0; p < pattern.size(); ++p) {
        const char want = pattern[p];
        if (want == '*') {
            const size_t end = text.find(pattern[p + 1], t + 1);
            if (t >= text.size() || end == std::string_view::npos)
                return false;
            t = end;
            continue;
        }
        if (t >= text.size())
            return false;
        const char c = text[t++];
        const bool ok = want == '9' ? std::isdigit(static_cast<unsigned char>(c))
                        : want == 'x'
                            ? std::isxdigit(static_cast<unsigned char>(c)) && !std::isupper(c)
                        : want == 'A' ? std::isalpha(static_cast<unsigned char>(c))
                                      : c == want;
        if (!ok)
            return false;
    }
    return t == text.size();
}

// Removes the header line starting with name after checking its value.
std::string RemoveHeader(const std::string& message, const std::string& name,
                         const std::vector<std::string_view>& patterns) {
    const size_t start = message.find("\n" + name + ": ");
    const size_t headerEnd = message.find("\n\n");
    EXPECT_TRUE(start != std::string::npos && start < headerEnd) << name << " missing: " << message;
    if (start == std::string::npos)
        return message;
    const size_t valueStart = start + name.size() + 3;
    const size_t end = message.find('\n', valueStart);
    const std::string_view value = std::string_view(message).substr(valueStart, end - valueStart);
    bool matched = false;
    for (std::string_view pattern : patterns)
        matched = matched || Matches(value, pattern);
    EXPECT_TRUE(matched) << name << ": " << value;
    return message.substr(0, start) + message.substr(end);
}

} // namespace

std::string WithoutDateAndMessageId(const std::string& message) {
    const std::string withoutDate =
        RemoveHeader(message, "Date",
                     {"AAA, 9 AAA 9999 99:99:99 +9999", "AAA, 99 AAA 9999 99:99:99 +9999",
                      "AAA, 9 AAA 9999 99:99:99 -9999", "AAA, 99 AAA 9999 99:99:99 -9999"});
    return RemoveHeader(withoutDate, "Message-ID",
                        {"<99999999999999.999999-*-xxxxxxxxxxxxxxxx@*>"});
}
