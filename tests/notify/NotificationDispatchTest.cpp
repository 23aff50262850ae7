// Notify plans, the queue, the dispatch rules (windows, SMS retries) and the
// composed texts.
#include "NotificationText.h"
#include "NotificationThread.h"
#include "NotifyTestSupport.h"

namespace {

class NotificationDispatchTest : public NotifyFixture {
protected:
    NotificationJob Job(bool sms, bool smtp, int32_t stage = NOTIFY_STAGE_OCCURRED) {
        NotificationJob job;
        job.Stage = stage;
        job.ProblemID = 1;
        job.Notification.NOTIFICATION_ID = 5;
        job.Notification.SMS_ACTIVE = sms;
        job.Notification.SMTP_ACTIVE = smtp;
        return job;
    }
    void SetSmsRetries(int32_t retries) {
        DBNotifySrvConfig services = CDBSchema::DefaultNotifyServicesConfig();
        services.SMS_RETRIES = retries;
        ASSERT_TRUE(m_database.SetNotifyServicesConfig(services));
        m_caches.Reload(m_database);
    }
    // One pass of the notification thread at the fixture's clock.
    void Pass(FakeChannels& channels) {
        CNotificationDispatcher dispatcher(channels, m_caches, {[this] { return m_now; }});
        CEvent stop(true);
        CNotificationThread(m_queue, dispatcher, stop).RunPass();
    }
};

TEST_F(NotificationDispatchTest, PlanListsProfilesWithTheirNotificationsAndQueuesInPlanOrder) {
    const int32_t n7 = StoreNotification("seven", true);
    const int32_t n9 = StoreNotification("nine", true);
    const int32_t p3 = StoreProfile("first", {n7, n9});
    const int32_t p5 = StoreProfile("second", {n7});
    DBAudition audition = Audition(AuditionType::Net);
    audition.AUDITION_ID = AUDITION_ID_NEW;
    ASSERT_TRUE(m_database.SetAudition(audition));
    ASSERT_TRUE(m_database.SetAuditNotifyProfiles(audition.AUDITION_ID, {p3, p5}));
    AuditionEntry entry;
    entry.Definition = audition;
    BuildNotifyPlan(m_database, entry);
    const std::string expected = std::to_string(p3) + ";" + std::to_string(n7) + ";" +
                                 std::to_string(n9) + ";0;" + std::to_string(p5) + ";" +
                                 std::to_string(n7) + ";0";
    ASSERT_EQ(entry.NotifyProfiles, expected);

    m_caches.Reload(m_database);
    EXPECT_EQ(QueueNotifications(m_caches, m_queue, 12, entry, NOTIFY_STAGE_UNRESOLVED), 3);
    std::vector<int32_t> order, profiles;
    NotificationJob job;
    for (int index = 0; m_queue.GetAt(index, job); ++index) {
        order.push_back(job.Notification.NOTIFICATION_ID);
        profiles.push_back(job.ProfileID);
        EXPECT_EQ(job.ProblemID, 12);
        EXPECT_EQ(job.Stage, NOTIFY_STAGE_UNRESOLVED);
        EXPECT_EQ(job.First, 1);
    }
    EXPECT_EQ(order, (std::vector<int32_t>{n7, n9, n7}));
    EXPECT_EQ(profiles, (std::vector<int32_t>{p3, p3, p5}));
}

TEST_F(NotificationDispatchTest, UnknownProfilesAndNotificationsAreSkipped) {
    const int32_t n = StoreNotification("known", true);
    const int32_t p = StoreProfile("known", {n});
    m_caches.Reload(m_database);
    AuditionEntry entry;
    // An unknown profile with a known notification, then a known profile with
    // an unknown notification and a known one.
    entry.NotifyProfiles =
        "999;" + std::to_string(n) + ";0;" + std::to_string(p) + ";888;" + std::to_string(n) + ";0";
    EXPECT_EQ(QueueNotifications(m_caches, m_queue, 1, entry, NOTIFY_STAGE_OCCURRED), 1);
    entry.NotifyProfiles = "";
    EXPECT_EQ(QueueNotifications(m_caches, m_queue, 1, entry, NOTIFY_STAGE_OCCURRED), 0);
    EXPECT_EQ(SplitNotifyPlan("3;x;0"), (std::vector<int32_t>{3, 0, 0}));
}

TEST_F(NotificationDispatchTest, ChannelOutsideItsWindowKeepsTheJobWhileOthersSend) {
    NotificationJob job = Job(true, true);
    job.Notification.SMS.ACTIVE_BEGIN = 22;
    job.Notification.SMS.ACTIVE_END = 6;
    m_queue.Add(job);
    FakeChannels channels;

    m_now = LocalTime(12, 0);
    Pass(channels);
    EXPECT_EQ(channels.Count(CHANNEL_SMTP), 1);
    EXPECT_EQ(channels.Count(CHANNEL_SMS), 0);
    ASSERT_EQ(m_queue.GetCount(), 1);

    m_now = LocalTime(23, 0);
    Pass(channels);
    EXPECT_EQ(channels.Count(CHANNEL_SMS), 1);
    EXPECT_EQ(channels.Count(CHANNEL_SMTP), 1) << "a done channel is never sent again";
    EXPECT_EQ(m_queue.GetCount(), 0);
}

struct RetryCase {
    int32_t retries;
    int attempts;
};

class SmsRetryTest : public NotificationDispatchTest,
                     public ::testing::WithParamInterface<RetryCase> {};

TEST_P(SmsRetryTest, RetryableSmsFailureIsRetriedAtMostRetriesTimesTwoMinutesApart) {
    SetSmsRetries(GetParam().retries);
    m_queue.Add(Job(true, false));
    FakeChannels channels;
    channels.answers[CHANNEL_SMS] = {1000, 1000, 1000, 1000, 1000};
    const std::time_t start = m_now;
    std::vector<std::time_t> attemptTimes;
    for (int second = 0; second <= 10 * 60 && m_queue.GetCount() > 0; second += 2) {
        m_now = start + second;
        const int before = channels.Count(CHANNEL_SMS);
        Pass(channels);
        if (channels.Count(CHANNEL_SMS) > before)
            attemptTimes.push_back(m_now);
    }
    ASSERT_EQ(static_cast<int>(attemptTimes.size()), GetParam().attempts);
    for (size_t i = 1; i < attemptTimes.size(); ++i)
        EXPECT_EQ(attemptTimes[i] - attemptTimes[i - 1], 120);
    EXPECT_EQ(m_queue.GetCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Retries, SmsRetryTest,
                         ::testing::Values(RetryCase{3, 3}, RetryCase{1, 1}, RetryCase{0, 1}));

TEST_F(NotificationDispatchTest, OnlyTheRetryResultBringsAnSmsBack) {
    SetSmsRetries(3);
    m_queue.Add(Job(true, false));
    FakeChannels channels;
    channels.answers[CHANNEL_SMS] = {2};
    Pass(channels);
    EXPECT_EQ(m_queue.GetCount(), 0);
}

TEST_F(NotificationDispatchTest, JobWithoutActiveChannelIsRemovedWithoutSending) {
    m_queue.Add(Job(false, false));
    FakeChannels channels;
    Pass(channels);
    EXPECT_TRUE(channels.calls.empty());
    EXPECT_EQ(m_queue.GetCount(), 0);
}

TEST_F(NotificationDispatchTest, ThreadEndsAtTheStopEventAndLeavesQueuedJobs) {
    NotificationJob job = Job(true, false);
    job.Notification.SMS.ACTIVE_BEGIN = 3; // never open at the fixture's hours
    job.Notification.SMS.ACTIVE_END = 4;
    m_queue.Add(job);
    FakeChannels channels;
    CNotificationDispatcher dispatcher(channels, m_caches, {[this] { return m_now; }});
    CEvent stop(true);
    CNotificationThread thread(m_queue, dispatcher, stop, std::chrono::milliseconds(5));
    thread.Start();
    EXPECT_TRUE(thread.IsThreadRunning());
    stop.Set();
    thread.Join();
    EXPECT_FALSE(thread.IsThreadRunning());
    EXPECT_EQ(m_queue.GetCount(), 1);
}

TEST_F(NotificationDispatchTest, DailyWindowRules) {
    FakeChannels channels;
    CNotificationDispatcher dispatcher(channels, m_caches, {[this] { return m_now; }});
    struct Case {
        int32_t begin, end;
        int hour;
        bool open;
    } cases[] = {{0, 24, 0, true},   {0, 24, 23, true}, {8, 17, 8, true}, {8, 17, 17, false},
                 {8, 17, 7, false},  {22, 6, 23, true}, {22, 6, 5, true}, {22, 6, 6, false},
                 {22, 6, 12, false}, {5, 5, 3, true}};
    for (const Case& c : cases) {
        m_now = LocalTime(c.hour, 30);
        EXPECT_EQ(dispatcher.IsInDailyWindow(c.begin, c.end), c.open)
            << c.begin << "-" << c.end << " at " << c.hour;
    }
}

TEST_F(NotificationDispatchTest, LongTextOfAnEventLogNotification) {
    NotificationJob job = Job(false, true, NOTIFY_STAGE_UNRESOLVED);
    job.Audition.Definition.NAME = "Ereignisse";
    job.Audition.Definition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::NTEvtLog);
    job.Audition.Signal.DATE = "20240115103000";
    job.Audition.Signal.COMPUTER = "alpha";
    job.Audition.Signal.SOURCE_NAME = "Disk";
    job.Audition.Signal.CATEGORY = 7;
    job.Audition.Signal.INFO_ID = "11";
    job.Audition.Signal.EVENT_DESCRIPTION = "bad block";
    const std::string expected =
        "\nTARN! Benachrichtigung (Ereignisse)\n\nDatum/Zeit:  " +
        TimeStampToDisplayText("20240115103000") +
        "\nComputer: alpha\nQuelle: Disk\nKategorie: 7\nEreignis: 11\n"
        "Beschreibung: bad block\nStatus: Das Problem konnte nicht behoben werden.\n";
    EXPECT_EQ(ComposeNotificationText(job), expected);
}

TEST_F(NotificationDispatchTest, LongTextWithoutComputerAndShortTexts) {
    NotificationJob job = Job(false, true, NOTIFY_STAGE_RESOLVED);
    job.Audition.Definition.NAME = "Spooler";
    job.Audition.Definition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::Service);
    job.Audition.Definition.Service.SERVER_PATH = "alpha";
    job.Audition.Signal.DATE = "20240115103000";
    job.Audition.Signal.EVENT_DESCRIPTION = "stopped";
    EXPECT_EQ(ComposeNotificationText(job),
              "\nTARN! Benachrichtigung (Spooler)\n\nDatum/Zeit:  " +
                  TimeStampToDisplayText("20240115103000") +
                  "\nBeschreibung: stopped\nStatus: Das Problem konnte behoben werden.\n");
    EXPECT_EQ(ComposeShortText(job),
              "TARN!: Spooler alpha Das Problem konnte behoben werden. stopped");
    job.Audition.Definition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::Logfile);
    job.Stage = NOTIFY_STAGE_OCCURRED;
    EXPECT_EQ(ComposeShortText(job), "TARN!: Spooler Das Problem trat zum ersten Mal auf. stopped");
}

} // namespace
