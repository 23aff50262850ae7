// A mail profile: one section of the profiles file "mailprofiles.ini" in the
// installation directory (or the file $TARN_MAIL_PROFILES names) with the keys
// Password, From, Store, AddressBook, Submit and SubmitTimeout. Relative paths
// are taken from the directory of the profiles file.
#pragma once

#include "MailAddress.h"

#include <memory>
#include <string>

class CMailProfile {
public:
    static constexpr const char* kDefaultSubmit = "/usr/sbin/sendmail -t -oi";
    static constexpr int kDefaultSubmitTimeoutSeconds = 120;

    // The profiles file in use.
    static std::string ProfilesPath();

    // The named profile when it exists, its password matches and its sender
    // address is valid; nothing otherwise.
    static std::unique_ptr<CMailProfile> LogOn(const std::string& name,
                                               const std::string& password);

    const Mailbox& From() const { return m_from; }
    const std::string& StorePath() const { return m_strStore; }
    const std::string& AddressBookPath() const { return m_strAddressBook; }
    const std::string& SubmitCommand() const { return m_strSubmit; }
    int SubmitTimeoutSeconds() const { return m_nSubmitTimeout; }

private:
    Mailbox m_from;
    std::string m_strStore;
    std::string m_strAddressBook;
    std::string m_strSubmit;
    int m_nSubmitTimeout = kDefaultSubmitTimeoutSeconds;
};
