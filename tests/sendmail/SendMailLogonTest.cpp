// Log-on and log-off of the mail library: profiles, message store, outbox and
// address book, and what a failed log-on leaves in the record.
#include "MailTestSupport.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class SendMailLogonTest : public ::testing::Test {
protected:
    CMailTestSystem mail;
    SendMailLogonRecord logon{};

    int32_t LogOn(const char* profile, const char* password) {
        SendMailInfo info{};
        info.profile = profile;
        info.password = password;
        return SendMailLogon(&logon, &info);
    }
    void TearDown() override { SendMailLogoff(&logon); }

    // Which members of the record are held, as "SSOA" with "-" for missing ones.
    std::string Held() const {
        return std::string(logon.session ? "S" : "-") + (logon.store ? "S" : "-") +
               (logon.outbox ? "O" : "-") + (logon.addressBook ? "A" : "-");
    }
};

TEST_F(SendMailLogonTest, OpensEveryPartAndLogOffClearsTheRecord) {
    ASSERT_EQ(LogOn("Monitor", "secret"), SENDMAIL_OK);
    EXPECT_EQ(Held(), "SSOA");
    EXPECT_EQ(SendMailLogoff(&logon), 0);
    EXPECT_EQ(Held(), "----");
    EXPECT_EQ(SendMailLogoff(&logon), 0) << "a second log-off has nothing left to release";
}

struct Credentials {
    const char* profile;
    const char* password;
    int32_t expected;
};

class SendMailCredentialsTest : public SendMailLogonTest,
                                public ::testing::WithParamInterface<Credentials> {};

TEST_P(SendMailCredentialsTest, ChecksProfileAndPassword) {
    EXPECT_EQ(LogOn(GetParam().profile, GetParam().password), GetParam().expected);
    if (GetParam().expected != SENDMAIL_OK) {
        EXPECT_EQ(Held(), "----");
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, SendMailCredentialsTest,
                         ::testing::Values(Credentials{"Monitor", "secret", SENDMAIL_OK},
                                           Credentials{
                                               "monitor", "secret",
                                               SENDMAIL_OK}, // profile names as INI sections
                                           Credentials{"Monitor", "wrong", SENDMAIL_LOGON_FAILED},
                                           Credentials{"Monitor", "Secret", SENDMAIL_LOGON_FAILED},
                                           Credentials{"Monitor", "", SENDMAIL_LOGON_FAILED},
                                           Credentials{"Monitor", nullptr, SENDMAIL_LOGON_FAILED},
                                           Credentials{"Nobody", "secret", SENDMAIL_LOGON_FAILED},
                                           Credentials{"", "", SENDMAIL_LOGON_FAILED},
                                           Credentials{nullptr, nullptr, SENDMAIL_LOGON_FAILED}));

TEST_F(SendMailLogonTest, MissingProfilesFileFailsTheLogOn) {
    ::setenv("TARN_MAIL_PROFILES", (mail.Dir() + "/none.ini").c_str(), 1);
    EXPECT_EQ(LogOn("Monitor", "secret"), SENDMAIL_LOGON_FAILED);
}

TEST_F(SendMailLogonTest, ProfileWithoutValidSenderFailsTheLogOn) {
    for (const char* from : {"", "From=", "From=monitor", "From=Monitor <monitor>"}) {
        auto keys = CMailTestSystem::StandardKeys(mail.Dir());
        keys[1] = from;
        mail.WriteProfile(keys);
        EXPECT_EQ(LogOn("Monitor", "secret"), SENDMAIL_LOGON_FAILED) << from;
        SendMailLogoff(&logon);
    }
}

TEST_F(SendMailLogonTest, PasswordlessProfileTakesAnEmptyPassword) {
    auto keys = CMailTestSystem::StandardKeys(mail.Dir());
    keys.erase(keys.begin());
    mail.WriteProfile(keys);
    EXPECT_EQ(LogOn("Monitor", "secret"), SENDMAIL_LOGON_FAILED);
    EXPECT_EQ(LogOn("Monitor", nullptr), SENDMAIL_OK);
}

TEST_F(SendMailLogonTest, StoreThatDoesNotOpenGivesFive) {
    for (const std::string& store : {std::string("Store=") + mail.Dir() + "/missing",
                                     std::string("Store=") + mail.BookPath(), std::string("")}) {
        auto keys = CMailTestSystem::StandardKeys(mail.Dir());
        keys[2] = store;
        mail.WriteProfile(keys);
        EXPECT_EQ(LogOn("Monitor", "secret"), SENDMAIL_STORE_FAILED) << store;
        EXPECT_EQ(Held(), "S---") << "the session stays for the log-off to release";
        SendMailLogoff(&logon);
        EXPECT_EQ(Held(), "----");
    }
}

TEST_F(SendMailLogonTest, StoreWithoutOutboxGivesSeven) {
    fs::remove(mail.OutboxPath());
    EXPECT_EQ(LogOn("Monitor", "secret"), SENDMAIL_OUTBOX_FAILED);
    EXPECT_EQ(Held(), "SS--");
    WriteFile(mail.OutboxPath(), "a file, not a folder");
    SendMailLogoff(&logon);
    EXPECT_EQ(LogOn("Monitor", "secret"), SENDMAIL_OUTBOX_FAILED);
}

TEST_F(SendMailLogonTest, AddressBookThatDoesNotOpenGivesSix) {
    for (const std::string& book : {std::string("AddressBook=") + mail.Dir() + "/missing.txt",
                                    std::string("AddressBook=") + mail.Dir(), std::string("")}) {
        auto keys = CMailTestSystem::StandardKeys(mail.Dir());
        keys[3] = book;
        mail.WriteProfile(keys);
        EXPECT_EQ(LogOn("Monitor", "secret"), SENDMAIL_ADDRESS_BOOK_FAILED) << book;
        EXPECT_EQ(Held(), "SSO-");
        SendMailLogoff(&logon);
    }
}

TEST_F(SendMailLogonTest, ProfilesFileInTheInstallationDirectoryWithRelativePaths) {
    ::unsetenv("TARN_MAIL_PROFILES");
    ::setenv("TARN_HOME", mail.Dir().c_str(), 1);
    mail.WriteProfile({"Password=secret", "From=monitor@example.org", "Store=store",
                       "AddressBook=addresses.txt"});
    EXPECT_EQ(LogOn("Monitor", "secret"), SENDMAIL_OK) << "Store and AddressBook are taken "
                                                          "from the profiles file's directory";
    ::unsetenv("TARN_HOME");
}

TEST_F(SendMailLogonTest, LogOnClearsARecordBeforeFillingIt) {
    logon.session = &logon; // nothing of the library's: must never be released
    logon.outbox = &logon;
    EXPECT_EQ(LogOn("Nobody", "secret"), SENDMAIL_LOGON_FAILED);
    EXPECT_EQ(Held(), "----");
}

} // namespace
