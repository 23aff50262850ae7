// The address-book request: the library loaded the way the console loads it
// (dlopen of a copy in a folder of its own), with a stand-in dialog module
// beside it, or without one.
#include "MailTestSupport.h"

#include "tarn/LUSendMailDialog.h"

#include <cstring>
#include <dlfcn.h>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class GetAddressListTest : public ::testing::Test {
protected:
    CMailTestSystem mail;
    void* library = nullptr;
    void* dialog = nullptr;
    PFN_SendMailLogon logOn = nullptr;
    PFN_SendMailLogoff logOff = nullptr;
    PFN_GetAddressList getAddressList = nullptr;
    SendMailLogonRecord logon{};

    // Copies the library (and the stand-in dialog unless withoutDialog) into a
    // folder of the test's own and loads it from there.
    void Load(bool withDialog) {
        const std::string folder = mail.Dir() + "/program/";
        fs::create_directories(folder);
        fs::copy_file(LUSENDMAIL_LIBRARY, folder + "libLUSendMail.so");
        if (withDialog) {
            fs::copy_file(FAKE_DIALOG_MODULE, folder + LUSENDMAIL_DIALOG_MODULE);
            dialog = ::dlopen((folder + LUSENDMAIL_DIALOG_MODULE).c_str(), RTLD_NOW);
            ASSERT_NE(dialog, nullptr) << ::dlerror();
        }
        library = ::dlopen((folder + "libLUSendMail.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << ::dlerror();
        logOn = reinterpret_cast<PFN_SendMailLogon>(::dlsym(library, "SendMailLogon"));
        logOff = reinterpret_cast<PFN_SendMailLogoff>(::dlsym(library, "SendMailLogoff"));
        getAddressList = reinterpret_cast<PFN_GetAddressList>(::dlsym(library, "GetAddressList"));
        ASSERT_TRUE(logOn && logOff && getAddressList);
        TestMessage credentials("");
        ASSERT_EQ(logOn(&logon, &credentials.info), SENDMAIL_OK);
    }

    void Script(int32_t result, std::vector<const char*> picks) {
        using Setter = void (*)(int32_t, const char* const*, int32_t);
        const auto script = reinterpret_cast<Setter>(::dlsym(dialog, "FakeDialogScript"));
        ASSERT_NE(script, nullptr);
        script(result, picks.data(), static_cast<int32_t>(picks.size()));
    }
    std::string Received(const char* what) {
        using Getter = const char* (*)();
        return reinterpret_cast<Getter>(::dlsym(dialog, what))();
    }

    // Runs a request with a buffer of the given size, pre-filled with "#".
    std::string Request(int32_t size, const char* initial = nullptr, int32_t* code = nullptr) {
        std::vector<char> buffer(static_cast<size_t>(size) + 1, '#');
        AddressListInfo request{"Empf\xC3\xA4ngerauswahl", initial, buffer.data(), size};
        const int32_t result = getAddressList(&logon, &request);
        if (code)
            *code = result;
        EXPECT_EQ(buffer[static_cast<size_t>(size)], '#') << "written beyond the buffer";
        return std::string(buffer.data(), strnlen(buffer.data(), static_cast<size_t>(size)));
    }

    void TearDown() override {
        if (logOff)
            logOff(&logon);
        if (library)
            ::dlclose(library);
        if (dialog)
            ::dlclose(dialog);
    }
};

TEST_F(GetAddressListTest, NineByteBufferTakesAliceAndSkipsBob) {
    Load(true);
    Script(0, {"Alice", "Bob"});
    int32_t code = -1;
    EXPECT_EQ(Request(9, nullptr, &code), "Alice");
    EXPECT_EQ(code, SENDMAIL_OK);
}

TEST_F(GetAddressListTest, TenByteBufferTakesBoth) {
    Load(true);
    Script(0, {"Alice", "Bob"});
    EXPECT_EQ(Request(10), "Alice;Bob");
}

TEST_F(GetAddressListTest, NameThatDoesNotFitIsSkippedAndLaterOnesTried) {
    Load(true);
    Script(0, {"Alice Example", "", "Bob", "Carol"});
    EXPECT_EQ(Request(10), "Bob;Carol") << "no separator before the first name written";
    EXPECT_EQ(Request(1), "") << "the buffer is emptied even when nothing fits";
}

TEST_F(GetAddressListTest, DisplayNamesAreCutTo255Bytes) {
    Load(true);
    const std::string longName(300, 'n');
    Script(0, {longName.c_str(), "Bob"});
    EXPECT_EQ(Request(1000), std::string(255, 'n') + ";Bob");
}

TEST_F(GetAddressListTest, DialogGetsCaptionInitialNamesAndTheBook) {
    Load(true);
    Script(0, {"Bob"});
    char initial[] = "Alice Example;Bob";
    std::vector<char> buffer(256, '#');
    AddressListInfo request{"Empf\xC3\xA4ngerauswahl", initial, buffer.data(), 256};
    EXPECT_EQ(getAddressList(&logon, &request), SENDMAIL_OK);
    EXPECT_STREQ(buffer.data(), "Bob");
    EXPECT_EQ(Received("FakeDialogCaption"), "Empf\xC3\xA4ngerauswahl");
    EXPECT_EQ(Received("FakeDialogInitial"), "Alice Example|Bob");
    EXPECT_STREQ(initial, "Alice Example;Bob") << "the initial names are split on a copy";
    const std::string book = Received("FakeDialogBook");
    EXPECT_EQ(book.find("Alice Example=alice@example.org|Bob=bob@example.org|"), 0u) << book;
}

TEST_F(GetAddressListTest, NoInitialNamesGiveAnEmptyWell) {
    Load(true);
    Script(0, {});
    EXPECT_EQ(Request(16), "");
    EXPECT_EQ(Received("FakeDialogInitial"), "");
}

TEST_F(GetAddressListTest, CancelGivesThirteenAndLeavesTheBuffer) {
    Load(true);
    Script(1, {"Alice"});
    int32_t code = -1;
    EXPECT_EQ(Request(16, "Bob", &code), std::string(16, '#'));
    EXPECT_EQ(code, SENDMAIL_DIALOG_FAILED);
}

TEST_F(GetAddressListTest, MissingDialogModuleGivesThirteen) {
    Load(false);
    int32_t code = -1;
    Request(16, nullptr, &code);
    EXPECT_EQ(code, SENDMAIL_DIALOG_FAILED);
}

TEST_F(GetAddressListTest, IncompleteLogonRecordGivesTwelve) {
    Load(true);
    Script(0, {"Alice"});
    std::vector<char> buffer(16, '#');
    AddressListInfo request{"x", nullptr, buffer.data(), 16};
    SendMailLogonRecord empty{};
    EXPECT_EQ(getAddressList(&empty, &request), SENDMAIL_NOT_LOGGED_ON);
    EXPECT_EQ(getAddressList(nullptr, &request), SENDMAIL_NOT_LOGGED_ON);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(getAddressList(&logon, nullptr), SENDMAIL_DIALOG_FAILED);
}

} // namespace
