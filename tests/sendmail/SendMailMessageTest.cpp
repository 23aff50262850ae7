// Sending through the mail library: recipients and their resolution, the
// message as the submission command receives it, attachments, and every
// failure code of sending.
#include "MailTestSupport.h"

#include <cstring>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SendMailMessageTest : public ::testing::Test {
protected:
    CMailTestSystem mail;
    SendMailLogonRecord logon{};

    void SetUp() override {
        TestMessage logOn("");
        ASSERT_EQ(SendMailLogon(&logon, &logOn.info), SENDMAIL_OK);
    }
    void TearDown() override { SendMailLogoff(&logon); }

    // Sends on the open log-on and returns the one message the command got.
    std::string SendOne(TestMessage& message) {
        EXPECT_EQ(SendMailMessageEx(&logon, &message.info), SENDMAIL_OK);
        const auto sent = mail.Sent();
        EXPECT_EQ(sent.size(), 1u);
        EXPECT_TRUE(mail.Waiting().empty()) << "an accepted message leaves the outbox";
        return sent.empty() ? "" : WithoutDateAndMessageId(sent.front());
    }

    // Nothing sent, nothing queued, no draft left behind.
    void ExpectNothingLeft() {
        EXPECT_TRUE(mail.Sent().empty());
        EXPECT_TRUE(mail.Waiting().empty());
        EXPECT_TRUE(mail.Drafts().empty());
    }
};

TEST_F(SendMailMessageTest, PlainMessageByteForByte) {
    TestMessage message("Alice Example", "Server down", "Line 1\r\nLine 2\rLine 3");
    EXPECT_EQ(SendOne(message), "From: TARN Monitor <monitor@example.org>\n"
                                "To: Alice Example <alice@example.org>\n"
                                "Subject: Server down\n"
                                "MIME-Version: 1.0\n"
                                "Content-Type: text/plain; charset=UTF-8\n"
                                "Content-Transfer-Encoding: 7bit\n"
                                "\n"
                                "Line 1\nLine 2\nLine 3\n");
    EXPECT_EQ(mail.SentArguments(0), "-t\n-oi\n") << "the profile's command line is kept";
}

TEST_F(SendMailMessageTest, MessageIdTakesTheSendersDomainAndIsUnique) {
    TestMessage first("Bob"), second("Bob");
    ASSERT_EQ(SendMailMessageEx(&logon, &first.info), SENDMAIL_OK);
    ASSERT_EQ(SendMailMessageEx(&logon, &second.info), SENDMAIL_OK);
    const auto sent = mail.Sent();
    ASSERT_EQ(sent.size(), 2u);
    auto id = [](const std::string& text) {
        const size_t start = text.find("Message-ID: <");
        return start == std::string::npos ? "" : text.substr(start, text.find('\n', start) - start);
    };
    EXPECT_NE(id(sent[0]), id(sent[1]));
    EXPECT_NE(id(sent[0]).find("@example.org>"), std::string::npos) << sent[0];
}

TEST_F(SendMailMessageTest, TwoRecipientsAndTheCallersStringIsCutInPlace) {
    TestMessage message("Alice Example;Bob");
    const std::string sent = SendOne(message);
    EXPECT_NE(sent.find("To: Alice Example <alice@example.org>, Bob <bob@example.org>\n"),
              std::string::npos)
        << sent;
    EXPECT_STREQ(message.info.recipients, "Alice Example");
    EXPECT_STREQ(message.info.recipients + 14, "Bob");
}

struct Resolution {
    const char* recipients;
    const char* to; // the To header's value, or nullptr when resolution fails
};

class SendMailResolutionTest : public SendMailMessageTest,
                               public ::testing::WithParamInterface<Resolution> {};

TEST_P(SendMailResolutionTest, ResolvesAgainstTheAddressBook) {
    TestMessage message(GetParam().recipients);
    const int32_t code = SendMailMessageEx(&logon, &message.info);
    if (!GetParam().to) {
        EXPECT_EQ(code, SENDMAIL_RESOLVE_FAILED);
        ExpectNothingLeft();
        return;
    }
    ASSERT_EQ(code, SENDMAIL_OK);
    const auto sent = mail.Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_NE(sent[0].find(std::string("\nTo: ") + GetParam().to + "\n"), std::string::npos)
        << sent[0];
}

INSTANTIATE_TEST_SUITE_P(
    Recipients, SendMailResolutionTest,
    ::testing::Values(
        Resolution{"alice example", "Alice Example <alice@example.org>"},
        Resolution{"BOB", "Bob <bob@example.org>"}, Resolution{"  Bob\t", "Bob <bob@example.org>"},
        Resolution{"J\xC3\x9CRGEN M\xC3\x9CLLER",
                   "=?UTF-8?B?SsO8cmdlbiBNw7xsbGVy?= <juergen@example.de>"},
        Resolution{"J\xDCRGEN M\xFCller", "=?UTF-8?B?SsO8cmdlbiBNw7xsbGVy?= <juergen@example.de>"},
        Resolution{"Doe, Jane", "\"Doe, Jane\" <jane@example.org>"},
        Resolution{"carol@example.net", "carol@example.net"},
        Resolution{"alice@example.org;Bob", "alice@example.org, Bob <bob@example.org>"},
        Resolution{"Alice", nullptr},   // no display name equals it
        Resolution{"Support", nullptr}, // two display names equal it
        Resolution{"", nullptr},        // one empty piece
        Resolution{"Bob;", nullptr},    // an empty piece at the end
        Resolution{"Bob;;Alice Example", nullptr},
        Resolution{"Bob;Nobody", nullptr}, // one bad piece fails the whole message
        Resolution{"carol@", nullptr}, Resolution{"Carol <carol@example.net>", nullptr}));

TEST_F(SendMailMessageTest, BookEntryWithoutValidAddressGivesEleven) {
    TestMessage message("Bob;Broken");
    EXPECT_EQ(SendMailMessageEx(&logon, &message.info), SENDMAIL_RECIPIENTS_FAILED);
    ExpectNothingLeft();
}

TEST_F(SendMailMessageTest, NullRecipientsGiveTen) {
    TestMessage message("Bob");
    message.info.recipients = nullptr;
    EXPECT_EQ(SendMailMessageEx(&logon, &message.info), SENDMAIL_RESOLVE_FAILED);
    EXPECT_EQ(SendMailMessageEx(&logon, nullptr), SENDMAIL_RESOLVE_FAILED);
    ExpectNothingLeft();
}

TEST_F(SendMailMessageTest, NoSubjectAndNoBodyIsStillSent) {
    TestMessage message("Bob", nullptr, nullptr);
    EXPECT_EQ(SendOne(message), "From: TARN Monitor <monitor@example.org>\n"
                                "To: Bob <bob@example.org>\n"
                                "MIME-Version: 1.0\n"
                                "Content-Type: text/plain; charset=UTF-8\n"
                                "Content-Transfer-Encoding: 7bit\n"
                                "\n");
}

TEST_F(SendMailMessageTest, NonAsciiSubjectAndBodyAreEncoded) {
    TestMessage message("Bob",
                        "St\xC3\xB6rung: Gr\xC3\xBC\xC3\x9F"
                        "e",
                        "Gr\xC3\xBC\xC3\x9F"
                        "e = Hallo \n");
    EXPECT_EQ(SendOne(message), "From: TARN Monitor <monitor@example.org>\n"
                                "To: Bob <bob@example.org>\n"
                                "Subject: =?UTF-8?B?U3TDtnJ1bmc6IEdyw7zDn2U=?=\n"
                                "MIME-Version: 1.0\n"
                                "Content-Type: text/plain; charset=UTF-8\n"
                                "Content-Transfer-Encoding: quoted-printable\n"
                                "\n"
                                "Gr=C3=BC=C3=9Fe =3D Hallo=20\n");
}

TEST_F(SendMailMessageTest, WindowsSubjectIsReadAsWindows1252) {
    TestMessage message("Bob", "St\xF6rung", nullptr);
    const std::string sent = SendOne(message);
    EXPECT_NE(sent.find("Subject: =?UTF-8?B?U3TDtnJ1bmc=?=\n"), std::string::npos) << sent;
}

TEST_F(SendMailMessageTest, LongSubjectIsFoldedIntoShortEncodedWords) {
    std::string subject;
    for (int i = 0; i < 30; ++i)
        subject += "\xC3\xA4"
                   "b"; // never cut inside a two-byte character
    TestMessage message("Bob", subject.c_str(), nullptr);
    const std::string sent = SendOne(message);
    const size_t start = sent.find("Subject: ");
    const size_t end = sent.find("\nMIME-Version");
    ASSERT_NE(start, std::string::npos);
    std::string decoded;
    std::istringstream lines(sent.substr(start + 9, end - start - 9));
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size() + (decoded.empty() ? 9 : 0), 76u) << line;
        const size_t word = line.find("=?UTF-8?B?");
        ASSERT_NE(word, std::string::npos) << line;
        EXPECT_EQ(line.substr(line.size() - 2), "?=");
        decoded += DecodeBase64(line.substr(word + 10, line.size() - word - 12));
    }
    EXPECT_EQ(decoded, subject);
}

TEST_F(SendMailMessageTest, HeaderTextCannotBreakOutOfItsLine) {
    TestMessage message("Bob", "Alarm\r\nBcc: eve@example.org", nullptr);
    const std::string sent = SendOne(message);
    EXPECT_NE(sent.find("Subject: Alarm  Bcc: eve@example.org\n"), std::string::npos) << sent;
    EXPECT_EQ(sent.find("\nBcc:"), std::string::npos);
}

TEST_F(SendMailMessageTest, LinesLongerThan998GoQuotedPrintableWithSoftBreaks) {
    const std::string longest = std::string(998, 'x') + "\n.\n";
    const std::string tooLong = std::string(1200, 'x') + "\n.\n";
    TestMessage fits("Bob", "Long", longest.c_str()), message("Bob", "Long", tooLong.c_str());
    ASSERT_EQ(SendMailMessageEx(&logon, &fits.info), SENDMAIL_OK);
    ASSERT_EQ(SendMailMessageEx(&logon, &message.info), SENDMAIL_OK);
    const auto sent = mail.Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(sent[0].ends_with("Content-Transfer-Encoding: 7bit\n\n" + longest)) << sent[0];
    std::string expected;
    for (int i = 0; i < 15; ++i)
        expected += std::string(75, 'x') + "=\n";
    expected += std::string(75, 'x') + "\n.\n";
    EXPECT_TRUE(sent[1].ends_with("Content-Transfer-Encoding: quoted-printable\n\n" + expected))
        << sent[1];
}

TEST_F(SendMailMessageTest, AttachmentIsReadFromItsPathAsMime) {
    const std::string path = mail.Dir() + "/report.txt";
    std::string content = "line one\n";
    for (int byte = 0; byte < 256; ++byte)
        content.push_back(static_cast<char>(byte));
    WriteFile(path, content);
    TestMessage message("Bob", "Report", "See attachment.");
    message.info.attachment = path.c_str();
    const std::string sent = SendOne(message);

    const size_t boundaryStart = sent.find("boundary=\"") + 10;
    const std::string boundary =
        sent.substr(boundaryStart, sent.find('"', boundaryStart) - boundaryStart);
    ASSERT_EQ(boundary.substr(0, 2), "=_");
    const std::string head = "From: TARN Monitor <monitor@example.org>\n"
                             "To: Bob <bob@example.org>\n"
                             "Subject: Report\n"
                             "MIME-Version: 1.0\n"
                             "Content-Type: multipart/mixed; boundary=\"" +
                             boundary +
                             "\"\n"
                             "\n"
                             "This is a multi-part message in MIME format.\n"
                             "--" +
                             boundary +
                             "\n"
                             "Content-Type: text/plain; charset=UTF-8\n"
                             "Content-Transfer-Encoding: 7bit\n"
                             "\n"
                             "See attachment.\n"
                             "\n"
                             "--" +
                             boundary +
                             "\n"
                             "Content-Type: application/octet-stream\n"
                             "Content-Disposition: attachment; filename=\"report.txt\"\n"
                             "Content-Transfer-Encoding: base64\n"
                             "\n";
    ASSERT_EQ(sent.substr(0, head.size()), head);
    const std::string tail = "\n--" + boundary + "--\n";
    ASSERT_EQ(sent.substr(sent.size() - tail.size()), tail);
    const std::string encoded = sent.substr(head.size(), sent.size() - head.size() - tail.size());
    EXPECT_EQ(DecodeBase64(encoded), content);
    std::istringstream lines(encoded);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 76u);
}

TEST_F(SendMailMessageTest, AttachmentWithoutDirectoryHasNoFileNameButIsAttached) {
    WriteFile(mail.Dir() + "/report.txt", "weekly numbers\n");
    const auto previous = fs::current_path();
    fs::current_path(mail.Dir());
    TestMessage message("Bob", "Report", nullptr);
    message.info.attachment = "report.txt";
    const std::string sent = SendOne(message);
    fs::current_path(previous);
    EXPECT_NE(sent.find("Content-Disposition: attachment\n"), std::string::npos) << sent;
    EXPECT_EQ(sent.find("filename"), std::string::npos);
    EXPECT_NE(sent.find("d2Vla2x5IG51bWJlcnMK"), std::string::npos) << sent;
}

TEST_F(SendMailMessageTest, NonAsciiAttachmentNameUsesAnEncodedParameter) {
    const std::string path = mail.Dir() + "/Bericht M\xC3\xA4rz.txt";
    WriteFile(path, "x");
    TestMessage message("Bob", "Report", nullptr);
    message.info.attachment = path.c_str();
    const std::string sent = SendOne(message);
    EXPECT_NE(
        sent.find("Content-Disposition: attachment; filename*=UTF-8''Bericht%20M%C3%A4rz.txt\n"),
        std::string::npos)
        << sent;
}

TEST_F(SendMailMessageTest, AttachmentThatCannotBeReadGivesEight) {
    for (const std::string& path : {mail.Dir() + "/missing.txt", mail.Dir()}) {
        TestMessage message("Bob");
        message.info.attachment = path.c_str();
        EXPECT_EQ(SendMailMessageEx(&logon, &message.info), SENDMAIL_PROPERTIES_FAILED) << path;
    }
    ExpectNothingLeft();
}

TEST_F(SendMailMessageTest, OutboxGoneAfterLogOnGivesNine) {
    fs::remove(mail.OutboxPath());
    TestMessage message("Bob");
    EXPECT_EQ(SendMailMessageEx(&logon, &message.info), SENDMAIL_CREATE_FAILED);
    EXPECT_STREQ(message.info.recipients, "Bob");
    EXPECT_TRUE(mail.Sent().empty());
}

TEST_F(SendMailMessageTest, IncompleteLogonRecordGivesTwelveAndLeavesTheRecipients) {
    TestMessage message("Alice Example;Bob");
    SendMailLogonRecord empty{};
    EXPECT_EQ(SendMailMessageEx(&empty, &message.info), SENDMAIL_NOT_LOGGED_ON);
    EXPECT_EQ(SendMailMessageEx(nullptr, &message.info), SENDMAIL_NOT_LOGGED_ON);
    SendMailLogonRecord partial = logon;
    partial.addressBook = nullptr;
    EXPECT_EQ(SendMailMessageEx(&partial, &message.info), SENDMAIL_NOT_LOGGED_ON);
    EXPECT_STREQ(message.info.recipients, "Alice Example;Bob");
    ExpectNothingLeft();
}

} // namespace
