// The outbox as the queue: a message the submission command refuses stays
// complete in the outbox and goes with the next log-on or submission; nothing
// is sent twice. And SendMailMessage's own log-on, send and log-off.
#include "MailTestSupport.h"

#include <csignal>
#include <filesystem>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace {

class SendMailQueueTest : public ::testing::Test {
protected:
    CMailTestSystem mail;

    int32_t Send(const std::string& to, const std::string& subject) {
        TestMessage message(to, subject.c_str(), "text");
        return SendMailMessage(&message.info);
    }
    static bool HasSubject(const std::string& message, const std::string& subject) {
        return message.find("\nSubject: " + subject + "\n") != std::string::npos;
    }
};

TEST_F(SendMailQueueTest, RefusedMessageStaysAndGoesWithTheNextSubmission) {
    mail.SetSubmitFailing(true);
    EXPECT_EQ(Send("Bob", "first"), SENDMAIL_OK) << "the submission's outcome is not the caller's";
    const auto waiting = mail.Waiting();
    ASSERT_EQ(waiting.size(), 1u);
    EXPECT_TRUE(waiting[0].ends_with(".eml"));
    const std::string queued = ReadFile(mail.OutboxPath() + "/" + waiting[0]);
    EXPECT_TRUE(HasSubject(queued, "first"));
    EXPECT_TRUE(queued.ends_with("\n\ntext\n")) << "the queued message is complete";
    EXPECT_TRUE(mail.Drafts().empty());

    EXPECT_EQ(Send("Bob", "second"), SENDMAIL_OK);
    EXPECT_EQ(mail.Waiting().size(), 2u);

    mail.SetSubmitFailing(false);
    EXPECT_EQ(Send("Alice Example", "third"), SENDMAIL_OK);
    const auto sent = mail.Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], queued) << "submitted exactly as queued";
    EXPECT_TRUE(HasSubject(sent[1], "second")) << "oldest first";
    EXPECT_TRUE(HasSubject(sent[2], "third"));
    EXPECT_TRUE(mail.Waiting().empty());
}

TEST_F(SendMailQueueTest, LogOnSendsWhatIsWaiting) {
    mail.SetSubmitFailing(true);
    ASSERT_EQ(Send("Bob", "waiting"), SENDMAIL_OK);
    mail.SetSubmitFailing(false);
    TestMessage logOnOnly("");
    SendMailLogonRecord logon{};
    EXPECT_EQ(SendMailLogon(&logon, &logOnOnly.info), SENDMAIL_OK);
    SendMailLogoff(&logon);
    const auto sent = mail.Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(HasSubject(sent[0], "waiting"));
    EXPECT_TRUE(mail.Waiting().empty());
}

TEST_F(SendMailQueueTest, MissingSubmitCommandKeepsTheMessage) {
    auto keys = CMailTestSystem::StandardKeys(mail.Dir());
    keys[4] = "Submit=" + mail.Dir() + "/no-such-command -t";
    mail.WriteProfile(keys);
    EXPECT_EQ(Send("Bob", "kept"), SENDMAIL_OK);
    EXPECT_EQ(mail.Waiting().size(), 1u);
}

TEST_F(SendMailQueueTest, HangingSubmitCommandIsStoppedAndTheMessageKept) {
    WriteFile(mail.Dir() + "/hang.sh", "#!/bin/sh\ncat >/dev/null\nsleep 60\n");
    fs::permissions(mail.Dir() + "/hang.sh", fs::perms::owner_all);
    auto keys = CMailTestSystem::StandardKeys(mail.Dir());
    keys[4] = "Submit=" + mail.Dir() + "/hang.sh";
    keys.push_back("SubmitTimeout=1");
    mail.WriteProfile(keys);
    EXPECT_EQ(Send("Bob", "slow"), SENDMAIL_OK);
    EXPECT_EQ(mail.Waiting().size(), 1u);
}

TEST_F(SendMailQueueTest, HostIgnoringChildSignalsStillLearnsTheOutcome) {
    // Ignoring SIGCHLD makes the kernel discard exit statuses.
    const auto previous = std::signal(SIGCHLD, SIG_IGN);
    const int32_t accepted = Send("Bob", "accepted");
    mail.SetSubmitFailing(true);
    const int32_t refused = Send("Bob", "refused");
    std::signal(SIGCHLD, previous);
    EXPECT_EQ(accepted, SENDMAIL_OK);
    EXPECT_EQ(refused, SENDMAIL_OK);
    EXPECT_EQ(mail.Sent().size(), 1u);
    EXPECT_EQ(mail.Waiting().size(), 1u) << "only the refused message waits";
}

TEST_F(SendMailQueueTest, ParallelSendersSendEveryMessageExactlyOnce) {
    constexpr int kThreads = 3, kMessages = 6;
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t) {
        senders.emplace_back([this, t] {
            for (int m = 0; m < kMessages; ++m)
                EXPECT_EQ(Send("Bob", "m" + std::to_string(t) + "-" + std::to_string(m)), 0);
        });
    }
    for (auto& sender : senders)
        sender.join();
    std::multiset<std::string> subjects;
    for (const std::string& message : mail.Sent()) {
        const size_t start = message.find("\nSubject: ") + 10;
        subjects.insert(message.substr(start, message.find('\n', start) - start));
    }
    EXPECT_EQ(subjects.size(), static_cast<size_t>(kThreads * kMessages));
    for (const std::string& subject : subjects)
        EXPECT_EQ(subjects.count(subject), 1u) << subject;
    EXPECT_TRUE(mail.Waiting().empty());
    EXPECT_TRUE(mail.Drafts().empty());
}

TEST_F(SendMailQueueTest, StaleDraftsAreRemovedAndFreshOnesKept) {
    const std::string stale = mail.OutboxPath() + "/.tmp-stale";
    const std::string fresh = mail.OutboxPath() + "/.tmp-fresh";
    WriteFile(stale, "From: half a message");
    WriteFile(fresh, "From: being written");
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::hours(25));
    ASSERT_EQ(Send("Bob", "now"), SENDMAIL_OK);
    EXPECT_EQ(mail.Drafts(), std::vector<std::string>{".tmp-fresh"});
    EXPECT_EQ(mail.Sent().size(), 1u) << "drafts are never sent";
}

// SendMailMessage returns the first failure of its log-on or its sending.
struct CycleCase {
    const char* name;
    int keyIndex; // the standard key replaced, or -1
    const char* key;
    const char* recipients;
    int32_t expected;
};

class SendMailCycleTest : public SendMailQueueTest,
                          public ::testing::WithParamInterface<CycleCase> {};

TEST_P(SendMailCycleTest, ReturnsTheFirstFailure) {
    auto keys = CMailTestSystem::StandardKeys(mail.Dir());
    if (GetParam().keyIndex >= 0)
        keys[GetParam().keyIndex] = GetParam().key;
    mail.WriteProfile(keys);
    TestMessage message(GetParam().recipients);
    EXPECT_EQ(SendMailMessage(&message.info), GetParam().expected);
    EXPECT_EQ(mail.Sent().size(), GetParam().expected == SENDMAIL_OK ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SendMailCycleTest,
    ::testing::Values(CycleCase{"Sent", -1, "", "Bob", SENDMAIL_OK},
                      CycleCase{"WrongPassword", 0, "Password=other", "Bob", SENDMAIL_LOGON_FAILED},
                      CycleCase{"NoStore", 2, "Store=/nonexistent/store", "Bob",
                                SENDMAIL_STORE_FAILED},
                      CycleCase{"NoBook", 3, "AddressBook=/nonexistent/book", "Bob",
                                SENDMAIL_ADDRESS_BOOK_FAILED},
                      CycleCase{"Unresolved", -1, "", "Nobody", SENDMAIL_RESOLVE_FAILED},
                      CycleCase{"BadAddress", -1, "", "Broken", SENDMAIL_RECIPIENTS_FAILED}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SendMailQueueTest, CycleWithoutOutboxGivesSeven) {
    fs::remove(mail.OutboxPath());
    EXPECT_EQ(Send("Bob", "x"), SENDMAIL_OUTBOX_FAILED);
    EXPECT_EQ(SendMailMessage(nullptr), SENDMAIL_LOGON_FAILED);
}

} // namespace
