// A local mail system in a temporary directory for the mail library's tests:
// a profiles file with the profile "Monitor" (password "secret"), its message
// store with an outbox, an address book, and a stand-in submission command
// that keeps every message it is given.
#pragma once

#include "tarn/LUSendMail.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
// The Base64 text decoded (line breaks ignored).
std::string DecodeBase64(const std::string& text);

class CMailTestSystem {
public:
    CMailTestSystem();
    ~CMailTestSystem();

    const std::string& Dir() const { return m_strDir; }
    std::string ProfilesPath() const { return m_strDir + "/mailprofiles.ini"; }
    std::string OutboxPath() const { return m_strDir + "/store/Outbox"; }
    std::string BookPath() const { return m_strDir + "/addresses.txt"; }
    // The stand-in command: stores standard input and its arguments.
    std::string SubmitScript() const { return m_strDir + "/submit.sh"; }

    // Rewrites the profiles file with the profile "Monitor" of the given keys
    // ("Key=Value" lines).
    void WriteProfile(const std::vector<std::string>& keys) const;
    // The standard profile: From, Store, AddressBook, Submit = the stand-in.
    static std::vector<std::string> StandardKeys(const std::string& dir);

    // The stand-in refuses every message while this is set (exit code 75).
    void SetSubmitFailing(bool failing) const;
    // The messages the stand-in accepted, in order of submission.
    std::vector<std::string> Sent() const;
    // The arguments the stand-in got for the n-th accepted message.
    std::string SentArguments(size_t index) const;
    // The visible files waiting in the outbox, sorted; hidden drafts separately.
    std::vector<std::string> Waiting() const;
    std::vector<std::string> Drafts() const;

private:
    std::string m_strDir;
};

// A message with the standard profile's log-on data; recipients is a buffer
// the library may cut.
struct TestMessage {
    explicit TestMessage(const std::string& to, const char* subject = "Status",
                         const char* body = "Everything fine.\n");
    SendMailInfo info{};
    std::vector<char> recipients;
};

// The message without its Date and Message-ID lines, which must be present
// and well-formed; adds a test failure otherwise.
std::string WithoutDateAndMessageId(const std::string& message);
