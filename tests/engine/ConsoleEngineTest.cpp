// The engine in this process against real database files: the audition list
// synchronisation, stored stops, reactivation across a restart of the engine,
// and the shutdown order's effects on the files.
#include "EngineFixture.h"

namespace {

TEST_F(ConsoleEngineTest, ReactivationOnRunsTheActiveAuditionsAgainAfterARestart) {
    StoreLogfileAudition("a", true);
    StoreLogfileAudition("b", true);
    StoreLogfileAudition("c", false);
    m_settings.SetReactivate(true);
    auto engine = Start();
    EXPECT_EQ(ListState(*engine), std::make_pair(3, 2));
    engine->ShutdownFrame();
    EXPECT_EQ(ActiveInDatabase(), 2);
    EXPECT_EQ(StoredReactivation(), "1");
    engine.reset();

    engine = Start();
    EXPECT_EQ(ListState(*engine), std::make_pair(3, 2));
}

TEST_F(ConsoleEngineTest, ReactivationOffStoresEveryAuditionInactiveAndStartsEmpty) {
    StoreLogfileAudition("a", true);
    StoreLogfileAudition("b", true);
    m_settings.SetReactivate(true);
    auto engine = Start();
    EXPECT_EQ(ListState(*engine), std::make_pair(2, 2));
    engine->SetReactivate(false);
    engine->ShutdownFrame();
    EXPECT_EQ(ActiveInDatabase(), 0);
    EXPECT_EQ(StoredReactivation(), "0");
    engine.reset();

    engine = Start();
    EXPECT_EQ(ListState(*engine), std::make_pair(0, 0));
    engine->SynchronizeAuditionList(); // the operator opens the audition sheet
    EXPECT_EQ(ListState(*engine), std::make_pair(2, 0));
}

TEST_F(ConsoleEngineTest, MissingRegistryKeyIsNotCreatedAtShutdown) {
    std::filesystem::remove(m_settings.RegistryFile);
    auto engine = Start();
    engine->ShutdownFrame();
    EXPECT_FALSE(CRegistryFile(m_settings.RegistryFile).KeyExists(kTarnRegistryKey));
}

TEST_F(ConsoleEngineTest, DeletedAuditionLeavesTheListAndChangedOnesFollowTheDatabase) {
    const int32_t keep = StoreLogfileAudition("keep", true);
    const int32_t gone = StoreLogfileAudition("gone", true);
    auto engine = Start();
    ASSERT_TRUE(m_database.DeleteAudition(gone));
    DBAudition changed;
    ASSERT_TRUE(m_database.GetAudition(keep, changed));
    changed.ACTIVE = false;
    changed.NAME = "kept";
    ASSERT_TRUE(m_database.SetAudition(changed));
    engine->SynchronizeAuditionList();
    CAuditionList& list = engine->GetAuditionList();
    CAuditionListLock lock(list);
    ASSERT_EQ(list.GetSize(), 1);
    EXPECT_EQ(list.GetAt(0).Definition.NAME, "kept");
    EXPECT_FALSE(list.GetAt(0).Running);
}

TEST_F(ConsoleEngineTest, AuditionStoppedAtRunTimeIsStoredInactive) {
    const int32_t stopped = StoreLogfileAudition("stopped", true);
    StoreLogfileAudition("running", true);
    auto engine = Start();
    {
        CAuditionList& list = engine->GetAuditionList();
        CAuditionListLock lock(list);
        AuditionEntry entry = list.GetAt(list.FindIndex(stopped));
        entry.Running = false;
        list.UpdateEntry(entry);
    }
    engine->StoreStoppedAuditions();
    DBAudition audition;
    ASSERT_TRUE(m_database.GetAudition(stopped, audition));
    EXPECT_FALSE(audition.ACTIVE);
    EXPECT_EQ(ActiveInDatabase(), 1);
}

TEST_F(ConsoleEngineTest, ShutdownClosesOpenProblemsUnresolvedAndDropsQueuedJobs) {
    DBHProblem problem;
    problem.PROBLEM_ID = DB_KEY_NEW;
    problem.PROBLEM_STATUS = PROBLEM_OPEN;
    problem.PROBLEM_BEGIN = "20240115100000";
    problem.AUDITION_ID = StoreLogfileAudition("x", true);
    ASSERT_TRUE(m_database.SetProblem(problem));
    auto engine = Start();
    NotificationJob job;
    job.Notification.NOTIFICATION_ID = 1;
    job.Notification.SMS_ACTIVE = true;
    engine->GetNotificationList().Add(job);
    engine->ShutdownFrame();
    EXPECT_EQ(engine->GetNotificationList().GetCount(), 0);
    DBHProblem stored;
    ASSERT_TRUE(m_database.GetProblem(problem.PROBLEM_ID, stored));
    EXPECT_EQ(stored.PROBLEM_STATUS, PROBLEM_UNRESOLVED);
    EXPECT_EQ(stored.PROBLEM_END.size(), 14u);
}

} // namespace
