// The problem lifecycle against real history files: opening, joining,
// closing at once, expiry with its success rule, and the notify stages.
#include "CDBBinding.h"
#include "NotifyTestSupport.h"
#include "TextEncoding.h"
#include "UnavailableChannels.h"

namespace {

std::string Text(unsigned id, const std::string& value) {
    std::string text = LoadTarnString(id);
    return text.replace(text.find("%s"), 2, value);
}

class ProblemLifecycleTest : public NotifyFixture {
protected:
    // A notify profile with one notification, attached to audition entries by Store.
    void SetUpNotifications() {
        m_notification = StoreNotification("Bereitschaft", false, true);
        m_profile = StoreProfile("Team", {m_notification});
        m_caches.Reload(m_database);
    }
    AuditionEntry StoreNotified(DBAudition audition) {
        audition.AUDITION_ID = AUDITION_ID_NEW;
        EXPECT_TRUE(m_database.SetAudition(audition));
        EXPECT_TRUE(m_database.SetAuditNotifyProfiles(audition.AUDITION_ID, {m_profile}));
        AuditionEntry entry;
        entry.Definition = audition;
        entry.Running = true;
        BuildNotifyPlan(m_database, entry);
        CAuditionListLock lock(m_auditions);
        m_auditions.AddAudition(audition);
        m_auditions.UpdateEntry(entry);
        return entry;
    }
    // Runs the notification queue once through channels that record their sends.
    void DrainQueue(FakeChannels& channels) {
        CNotificationDispatcher dispatcher(channels, m_caches, {[this] { return m_now; }});
        NotificationJob job;
        while (m_queue.GetAt(0, job)) {
            dispatcher.DispatchNotification(job);
            m_queue.Remove(job.JobNumber);
        }
    }

    int32_t m_notification = 0, m_profile = 0;
};

TEST_F(ProblemLifecycleTest, LogfileErrorClosesItsProblemUnresolvedAtOnceAndStopsTheAudition) {
    AuditionEntry entry = Store(Audition(AuditionType::Logfile));
    m_handler->OnAuditionError(Signalled(entry, "disk full"));
    m_handler->OnAuditionError(Signalled(entry, "disk full"));

    const auto problems = Problems(entry.Definition.AUDITION_ID);
    ASSERT_EQ(problems.size(), 2u) << "every log file error starts a problem of its own";
    for (const DBHProblem& problem : problems) {
        EXPECT_EQ(problem.PROBLEM_STATUS, PROBLEM_UNRESOLVED);
        EXPECT_EQ(problem.ERROR_COUNT, 1);
        EXPECT_EQ(problem.PROBLEM_END, FormatTimeStamp(m_now));
    }
    EXPECT_EQ(m_stopped.size(), 2u);
    CAuditionListLock lock(m_auditions);
    EXPECT_FALSE(m_auditions.GetAt(m_auditions.FindIndex(entry.Definition.AUDITION_ID)).Running);
    EXPECT_EQ(m_view.Texts(EVENT_VIEW_PROBLEM_OPENED).front(), Text(1138, "disk full"));
    EXPECT_EQ(m_view.Texts(EVENT_VIEW_PROBLEM_UNRESOLVED).front(), Text(1140, "disk full"));
}

class StaysOpenTest : public ProblemLifecycleTest,
                      public ::testing::WithParamInterface<AuditionType> {};

TEST_P(StaysOpenTest, ProblemStaysOpenUntilItsMaximumDurationHasStrictlyPassed) {
    AuditionEntry entry = Store(Audition(GetParam()));
    const std::time_t begin = m_now;
    m_handler->OnAuditionError(Signalled(entry));
    ASSERT_EQ(Problems(entry.Definition.AUDITION_ID, PROBLEM_OPEN).size(), 1u);

    m_now = begin + 10 * 60; // begin + MAX_DURATION equals now: not yet expired
    m_handler->CheckOpenProblems(entry);
    EXPECT_EQ(Problems(entry.Definition.AUDITION_ID, PROBLEM_OPEN).size(), 1u);

    m_now = begin + 10 * 60 + 1;
    m_handler->CheckOpenProblems(entry);
    const auto problems = Problems(entry.Definition.AUDITION_ID);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].PROBLEM_STATUS, PROBLEM_UNRESOLVED);
    EXPECT_TRUE(m_stopped.empty());
    EXPECT_TRUE(entry.Running);
}

INSTANTIATE_TEST_SUITE_P(EventLogAndNet, StaysOpenTest,
                         ::testing::Values(AuditionType::NTEvtLog, AuditionType::Net));

TEST_F(ProblemLifecycleTest, LoweringTheMaximumDurationShortensAnOpenProblem) {
    AuditionEntry entry = Store(Audition(AuditionType::Net));
    const std::time_t begin = m_now;
    m_handler->OnAuditionError(Signalled(entry));
    entry.Definition.MAX_DURATION = 1;
    m_now = begin + 61;
    m_handler->CheckOpenProblems(entry);
    EXPECT_EQ(Problems(entry.Definition.AUDITION_ID)[0].PROBLEM_STATUS, PROBLEM_UNRESOLVED);
}

TEST_F(ProblemLifecycleTest, AnsweredRestartIsResolvedAtExpiryAndNotifiedAtStageThree) {
    SetUpNotifications();
    const std::string exchange = AddComputer("alpha");
    DBAudition audition = Audition(AuditionType::App);
    audition.ACTION_RESTART_APP = true;
    audition.NOTIFY_ALWAYS = true;
    audition.NOTIFY_SUCCESS = true;
    AuditionEntry entry = StoreNotified(audition);
    const std::time_t begin = m_now;
    m_handler->OnAuditionError(Signalled(entry, "app.exe ended", "app.exe"));
    EXPECT_EQ(QueuedStages(), std::vector<int32_t>{NOTIFY_STAGE_OCCURRED});
    ASSERT_EQ(ReadFile(exchange + "TARN000.TRA"), "[Commands]\r\nCommand1=START_APP;app.exe;\r\n");
    WriteFile(exchange + "TARN000.RLT", "[Results]\r\nResult1=0\r\n");

    m_now = begin + 30;
    m_handler->CheckOpenProblems(entry);
    EXPECT_FALSE(std::filesystem::exists(exchange + "TARN000.RLT"));
    m_now = begin + 10 * 60 + 1;
    m_handler->CheckOpenProblems(entry);

    const auto problems = Problems(entry.Definition.AUDITION_ID);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].PROBLEM_STATUS, PROBLEM_RESOLVED);
    EXPECT_EQ(problems[0].ERROR_COUNT, 1);
    EXPECT_EQ(QueuedStages(), (std::vector<int32_t>{NOTIFY_STAGE_OCCURRED, NOTIFY_STAGE_RESOLVED}));
    EXPECT_EQ(m_view.Texts(EVENT_VIEW_PROBLEM_RESOLVED),
              std::vector<std::string>{Text(1139, "app.exe ended")});
}

TEST_F(ProblemLifecycleTest, SecondSignalNotifiesStageTwoOnceAndExpiryDoesNotRepeatIt) {
    SetUpNotifications();
    AddComputer("alpha");
    DBAudition audition = Audition(AuditionType::App);
    audition.ACTION_RESTART_APP = true;
    audition.NOTIFY_FAILURE = true;
    audition.NOTIFY_SUCCESS = true;
    AuditionEntry entry = StoreNotified(audition);
    FakeChannels channels(m_recorder.get());
    const std::time_t begin = m_now;
    for (int signal = 0; signal < 4; ++signal) {
        m_now = begin + signal;
        m_handler->OnAuditionError(Signalled(entry, "ended", "app.exe"));
    }
    EXPECT_EQ(QueuedStages(), std::vector<int32_t>{NOTIFY_STAGE_UNRESOLVED});
    DrainQueue(channels);

    const auto open = Problems(entry.Definition.AUDITION_ID, PROBLEM_OPEN);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].ERROR_COUNT, 4);
    WriteFile(m_dir + "data/alpha/TARN000.RLT", "[Results]\r\nResult1=0\r\n");
    m_now = begin + 10 * 60 + 5;
    m_handler->CheckOpenProblems(entry);
    EXPECT_EQ(Problems(entry.Definition.AUDITION_ID)[0].PROBLEM_STATUS, PROBLEM_UNRESOLVED);
    EXPECT_TRUE(QueuedStages().empty()) << "a stage 2 notification was already sent";
    int signals = 0;
    for (const DBHEvent& event : Events(open[0].PROBLEM_ID))
        signals += event.TYPE == EVENT_TYPE_ERROR;
    EXPECT_EQ(signals, 4);
}

TEST_F(ProblemLifecycleTest, LongNotificationEventIsStoredCutAndStageTwoGoesOutOnce) {
    m_notification = StoreNotification(std::string(120, 'N'), false, false);
    DBNotification notification;
    ASSERT_TRUE(m_database.GetNotification(m_notification, notification));
    notification.SNMP_ACTIVE = true;
    ASSERT_TRUE(m_database.SetNotification(notification));
    m_profile = StoreProfile("Team", {m_notification});
    m_caches.Reload(m_database);
    AddComputer("alpha");
    DBAudition audition = Audition(AuditionType::App);
    audition.ACTION_RESTART_APP = true;
    audition.NOTIFY_FAILURE = true;
    AuditionEntry entry = StoreNotified(audition);
    std::mutex sendLock;
    CUnavailableChannels channels(*m_recorder, sendLock);
    CNotificationDispatcher dispatcher(channels, m_caches, {[this] { return m_now; }});
    const std::time_t begin = m_now;
    for (int signal = 0; signal < 2; ++signal) {
        m_now = begin + signal;
        m_handler->OnAuditionError(Signalled(entry, "ended", "app.exe"));
    }
    const int32_t problem = Problems(entry.Definition.AUDITION_ID)[0].PROBLEM_ID;
    auto drain = [&] {
        int sent = 0;
        for (NotificationJob job; m_queue.GetAt(0, job); ++sent) {
            dispatcher.DispatchNotification(job);
            m_queue.Remove(job.JobNumber);
        }
        return sent;
    };
    EXPECT_EQ(drain(), 1);
    const std::vector<std::string> shown = m_view.Texts(EVENT_VIEW_ERROR);
    ASSERT_EQ(shown.size(), 1u);
    ASSERT_GT(DBCharacterCount(shown[0]), 255u) << "the composed text must not fit its column";
    const DBHEventList events = Events(problem);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().CATEGORY, EVENT_CATEGORY_NOTIFICATION);
    EXPECT_EQ(events.back().INFO_ID, "2");
    EXPECT_EQ(events.back().EVENT_DESCRIPTION, CutToCharacters(shown[0], 255));

    m_now = begin + 10 * 60 + 5;
    m_handler->CheckOpenProblems(entry);
    EXPECT_EQ(Problems(entry.Definition.AUDITION_ID)[0].PROBLEM_STATUS, PROBLEM_UNRESOLVED);
    EXPECT_EQ(drain(), 0) << "stage 2 was already notified";
}

TEST_F(ProblemLifecycleTest, LongAgentFieldKeepsOneProblemAndOneRestart) {
    const std::string exchange = AddComputer("alpha");
    DBAudition audition = Audition(AuditionType::App);
    audition.ACTION_RESTART_APP = true;
    AuditionEntry entry = Store(audition);
    const std::string module = std::string(299, 'm') + "\xC3\xA4"; // 300 characters
    for (int signal = 0; signal < 2; ++signal) {
        m_now += 15;
        m_handler->OnAuditionError(Signalled(entry, "ended", module));
    }
    const auto problems = Problems(entry.Definition.AUDITION_ID);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].ERROR_COUNT, 2);
    EXPECT_EQ(m_actions->GetPendingActions().size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(exchange + "TARN000.TRA"));
    EXPECT_FALSE(std::filesystem::exists(exchange + "TARN001.TRA"));
    int signals = 0;
    for (const DBHEvent& event : Events(problems[0].PROBLEM_ID)) {
        if (event.TYPE != EVENT_TYPE_ERROR)
            continue;
        ++signals;
        EXPECT_EQ(event.SOURCE_MODULE_NAME, std::string(255, 'm'));
    }
    EXPECT_EQ(signals, 2);
}

// A pass reads the open problems of every audition once. An audition whose
// problem has expired by then is read again and its problem closed; a problem
// another party has closed or removed since the reading is left as it is and
// notified to nobody; a problem not yet expired stays open.
TEST_F(ProblemLifecycleTest, APassReadingLeavesProblemsClosedOrRemovedSinceAlone) {
    SetUpNotifications();
    auto store = [this](const char* name) {
        DBAudition audition = Audition(AuditionType::Net);
        audition.NAME = name;
        audition.NOTIFY_FAILURE = true;
        return StoreNotified(audition);
    };
    AuditionEntry expiring = store("expiring"), closed = store("closed elsewhere"),
                  removed = store("removed"), young = store("young");
    const std::time_t begin = m_now;
    for (const AuditionEntry* entry : {&expiring, &closed, &removed})
        ASSERT_TRUE(m_handler->OnAuditionError(Signalled(*entry)));
    m_now = begin + 10 * 60 + 1;
    ASSERT_TRUE(m_handler->OnAuditionError(Signalled(young)));

    m_handler->BeginPass();
    DBHProblem resolved = Problems(closed.Definition.AUDITION_ID)[0];
    resolved.PROBLEM_STATUS = PROBLEM_RESOLVED;
    resolved.PROBLEM_END = FormatTimeStamp(begin + 60);
    ASSERT_TRUE(m_database.SetProblem(resolved));
    ASSERT_TRUE(m_database.DeleteProblem(Problems(removed.Definition.AUDITION_ID)[0].PROBLEM_ID));
    for (AuditionEntry* entry : {&expiring, &closed, &removed, &young})
        m_handler->CheckOpenProblems(*entry);
    m_handler->EndPass();

    EXPECT_EQ(Problems(expiring.Definition.AUDITION_ID)[0].PROBLEM_STATUS, PROBLEM_UNRESOLVED);
    const DBHProblem stillResolved = Problems(closed.Definition.AUDITION_ID)[0];
    EXPECT_EQ(stillResolved.PROBLEM_STATUS, PROBLEM_RESOLVED);
    EXPECT_EQ(stillResolved.PROBLEM_END, resolved.PROBLEM_END);
    EXPECT_TRUE(Problems(removed.Definition.AUDITION_ID).empty());
    EXPECT_EQ(Problems(young.Definition.AUDITION_ID)[0].PROBLEM_STATUS, PROBLEM_OPEN);
    EXPECT_EQ(QueuedStages(), std::vector<int32_t>{NOTIFY_STAGE_UNRESOLVED});
    EXPECT_EQ(m_view.Texts(EVENT_VIEW_PROBLEM_UNRESOLVED).size(), 1u);
    EXPECT_TRUE(m_view.Texts(EVENT_VIEW_PROBLEM_RESOLVED).empty());
}

TEST_F(ProblemLifecycleTest, UnansweredRestartIsDroppedAtExpiryAndClosesUnresolved) {
    SetUpNotifications();
    AddComputer("alpha");
    DBAudition audition = Audition(AuditionType::Service);
    audition.ACTION_RESTART_SERVICE = true;
    audition.NOTIFY_FAILURE = true;
    AuditionEntry entry = StoreNotified(audition);
    const std::time_t begin = m_now;
    m_handler->OnAuditionError(Signalled(entry));
    ASSERT_EQ(m_actions->GetPendingActions().size(), 1u);

    m_now = begin + 10 * 60 + 1;
    m_handler->CheckOpenProblems(entry);
    EXPECT_TRUE(m_actions->GetPendingActions().empty());
    const auto problems = Problems(entry.Definition.AUDITION_ID);
    EXPECT_EQ(problems[0].PROBLEM_STATUS, PROBLEM_UNRESOLVED);
    EXPECT_EQ(problems[0].ERROR_COUNT, 2);
    EXPECT_EQ(QueuedStages(), std::vector<int32_t>{NOTIFY_STAGE_UNRESOLVED});
    const DBHEventList events = Events(problems[0].PROBLEM_ID);
    EXPECT_EQ(events.back().EVENT_DESCRIPTION, Text(1137, LoadTarnString(1121)));
    EXPECT_EQ(events.back().CATEGORY, EVENT_CATEGORY_ACTION);
    EXPECT_EQ(events.back().INFO_ID, "2");
}

TEST_F(ProblemLifecycleTest, AppWithoutActionClosesAtOnceButKeepsRunning) {
    AuditionEntry entry = Store(Audition(AuditionType::App));
    m_handler->OnAuditionError(Signalled(entry));
    EXPECT_EQ(Problems(entry.Definition.AUDITION_ID)[0].PROBLEM_STATUS, PROBLEM_UNRESOLVED);
    EXPECT_TRUE(m_stopped.empty());
}

TEST_F(ProblemLifecycleTest, PluginWithoutActionsFollowsItsCapabilities) {
    // Without a plug-in list every capability answers yes: close at once and stop.
    OfferingPluginInstance instance;
    AuditionEntry entry = Store(Audition(AuditionType::Plugin));
    entry.PluginInstance = &instance;
    m_handler->OnAuditionError(Signalled(entry));
    EXPECT_EQ(Problems(entry.Definition.AUDITION_ID)[0].PROBLEM_STATUS, PROBLEM_UNRESOLVED);
    EXPECT_EQ(m_stopped, std::vector<int32_t>{entry.Definition.AUDITION_ID});
}

TEST_F(ProblemLifecycleTest, PluginListingOnlyUnsentKindsHasARestartActionButSendsNothing) {
    OfferingPluginInstance instance({
        {0, "", "m", "", "s", "", "p", 0, 0},
        {9, "", "m", "", "s", "", "p", 0, 0},
    });
    const std::string exchange = AddComputer("alpha");
    AuditionEntry entry = Store(Audition(AuditionType::Plugin));
    entry.PluginInstance = &instance;
    m_handler->OnAuditionError(Signalled(entry));
    // Counted as having an action: the problem stays open, the audition runs on.
    EXPECT_EQ(Problems(entry.Definition.AUDITION_ID)[0].PROBLEM_STATUS, PROBLEM_OPEN);
    EXPECT_TRUE(m_stopped.empty());
    EXPECT_TRUE(m_actions->GetPendingActions().empty());
    EXPECT_TRUE(std::filesystem::is_empty(exchange));
}

TEST_F(ProblemLifecycleTest, FirstSignalCountsOneAndStoresTheSignalAsFirstEvent) {
    AuditionEntry entry = Store(Audition(AuditionType::NTEvtLog));
    m_handler->OnAuditionError(Signalled(entry, "Festplatte voll"));
    const auto problems = Problems(entry.Definition.AUDITION_ID);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].ERROR_COUNT, 1);
    EXPECT_EQ(problems[0].PROBLEM_DESCRIPTION, "Festplatte voll");
    EXPECT_EQ(problems[0].PROBLEM_BEGIN, FormatTimeStamp(m_now));
    EXPECT_EQ(problems[0].COMPUTER_NAME, "alpha");
    EXPECT_EQ(problems[0].MAX_DURATION, 10);
    const DBHEventList events = Events(problems[0].PROBLEM_ID);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].EVENT_DESCRIPTION, "Festplatte voll");
    EXPECT_EQ(events[0].SOURCE_MODULE_NAME, "svc.exe");
    ASSERT_EQ(m_view.added.size(), 1u);
}

TEST_F(ProblemLifecycleTest, ShutdownClosesEveryOpenProblemUnresolvedWithoutNotifying) {
    SetUpNotifications();
    DBAudition audition = Audition(AuditionType::Net);
    audition.NOTIFY_FAILURE = true;
    AuditionEntry a = StoreNotified(audition);
    AuditionEntry b = StoreNotified(Audition(AuditionType::NTEvtLog));
    m_handler->OnAuditionError(Signalled(a));
    m_handler->OnAuditionError(Signalled(b));
    m_handler->CloseAllOpenProblems();
    EXPECT_EQ(Problems(a.Definition.AUDITION_ID)[0].PROBLEM_STATUS, PROBLEM_UNRESOLVED);
    EXPECT_EQ(Problems(b.Definition.AUDITION_ID)[0].PROBLEM_STATUS, PROBLEM_UNRESOLVED);
    EXPECT_TRUE(QueuedStages().empty());
}

struct MatchCase {
    AuditionType type;
    const char* field; // the field of the stored event that differs, or "" for none
    bool matches;
};

class MatchTest : public ProblemLifecycleTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(MatchTest, StoredEventMatchesByTheFieldsOfTheAuditionType) {
    const MatchCase& c = GetParam();
    AuditionEntry entry = Signalled(Store(Audition(c.type)), "x", "svc.exe");
    DBHEvent stored = entry.Signal;
    const std::string field = c.field;
    if (field == "module")
        stored.SOURCE_MODULE_NAME = "other.exe";
    if (field == "computer")
        stored.COMPUTER = "beta";
    if (field == "source")
        stored.SOURCE = 2;
    if (field == "info")
        stored.INFO_ID = "7";
    if (field == "category")
        stored.CATEGORY = 9;
    if (field == "description")
        stored.EVENT_DESCRIPTION = "other";
    if (field == "console")
        stored.TYPE = EVENT_TYPE_CONSOLE;
    EXPECT_EQ(m_handler->MatchesProblemEvent(stored, entry), c.matches) << c.field;
}

INSTANTIATE_TEST_SUITE_P(Types, MatchTest,
                         ::testing::Values(MatchCase{AuditionType::App, "", true},
                                           MatchCase{AuditionType::App, "module", false},
                                           MatchCase{AuditionType::Service, "computer", true},
                                           MatchCase{AuditionType::Service, "console", false},
                                           MatchCase{AuditionType::Logfile, "", false},
                                           MatchCase{AuditionType::NTEvtLog, "description", true},
                                           MatchCase{AuditionType::NTEvtLog, "computer", false},
                                           MatchCase{AuditionType::NTEvtLog, "source", false},
                                           MatchCase{AuditionType::NTEvtLog, "info", false},
                                           MatchCase{AuditionType::NTEvtLog, "category", false},
                                           MatchCase{AuditionType::Net, "module", true},
                                           MatchCase{AuditionType::Net, "computer", false},
                                           MatchCase{AuditionType::Plugin, "computer", true},
                                           MatchCase{AuditionType::Plugin, "info", false}));

TEST(UnresolvedNotificationTest, TheStageIsReadAsANumberOfAConsoleNotificationEvent) {
    struct Case {
        int32_t source, category;
        const char* infoId;
        bool unresolved;
    } cases[] = {
        {EVENT_SOURCE_CONSOLE, EVENT_CATEGORY_NOTIFICATION, "2", true},
        {EVENT_SOURCE_CONSOLE, EVENT_CATEGORY_NOTIFICATION, "02", true},
        {EVENT_SOURCE_CONSOLE, EVENT_CATEGORY_NOTIFICATION, "1", false},
        {EVENT_SOURCE_CONSOLE, EVENT_CATEGORY_NOTIFICATION, "3", false},
        {EVENT_SOURCE_CONSOLE, EVENT_CATEGORY_NOTIFICATION, "2x", false},
        {EVENT_SOURCE_CONSOLE, EVENT_CATEGORY_NOTIFICATION, "", false},
        {EVENT_SOURCE_CONSOLE, EVENT_CATEGORY_ACTION, "2", false},
        {EVENT_SOURCE_CONSOLE + 1, EVENT_CATEGORY_NOTIFICATION, "2", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.infoId);
        DBHEvent event;
        event.SOURCE = c.source;
        event.CATEGORY = c.category;
        event.INFO_ID = c.infoId;
        EXPECT_EQ(HasUnresolvedNotification({event}), c.unresolved);
    }
}

} // namespace
