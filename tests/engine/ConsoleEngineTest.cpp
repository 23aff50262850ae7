// The engine in this process against real database files: the audition list
// synchronisation, stored stops, reactivation across a restart of the engine,
// and the shutdown order's effects on the files.
#include "ConsoleEngine.h"
#include "CDBSchema.h"
#include "CHeadlessPluginUI.h"
#include "RegistryFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>

namespace {

class QuietView : public IConsoleView {
public:
    void AddEventViewLine(int, const std::string&, const std::string& audition,
                          const std::string& text) override {
        std::lock_guard guard(m_lock);
        lines.push_back(audition + ": " + text);
    }
    std::vector<std::string> lines;

private:
    std::mutex m_lock;
};

class NoReplyPinger : public IPinger {
public:
    int32_t Ping(const std::string&, uint32_t) override { return 0; }
};

class ConsoleEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarn-engine-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = std::string(pattern) + "/";
        std::filesystem::create_directories(m_dir + "data");
        DBConfiguration configuration;
        configuration.DATA_DIRECTORY = m_dir + "data/";
        std::string error;
        ASSERT_TRUE(CDBSchema::CreateConfigurationFile(
            m_dir + "TARN.MDB", configuration, CDBSchema::DefaultNotifyServicesConfig(), error));
        ASSERT_TRUE(CDBSchema::CreateHistoryFile(m_dir + "HISTORY.MDB", error));
        bool config = false, history = false;
        m_database.Open(m_dir + "TARN.MDB", m_dir + "HISTORY.MDB", config, history);
        ASSERT_TRUE(config && history);
        m_settings.ProgramDirectory = m_dir + "bin/";
        m_settings.InstallationDirectory = m_dir;
        m_settings.RegistryFile = m_dir + "registry.ini";
        m_settings.SetDataDirectory(m_dir + "data/");
        ASSERT_TRUE(CRegistryFile(m_settings.RegistryFile).CreateKey(kTarnRegistryKey));
        std::ofstream(m_dir + "watched.log") << "";
    }
    void TearDown() override {
        m_database.Close();
        std::filesystem::remove_all(m_dir);
    }

    std::unique_ptr<CConsoleEngine> NewEngine() {
        ConsoleEngineOptions options;
        options.AuditPeriod = std::chrono::hours(1); // no pass runs during a test
        options.NotificationPeriod = std::chrono::hours(1);
        options.Pinger = &m_pinger;
        return std::make_unique<CConsoleEngine>(m_database, m_settings, nullptr, m_view, m_pluginUI,
                                                options);
    }
    int32_t StoreLogfileAudition(const std::string& name, bool active) {
        DBAudition audition;
        audition.AUDITION_ID = AUDITION_ID_NEW;
        audition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::Logfile);
        audition.NAME = name;
        audition.ACTIVE = active;
        audition.Logfile.LOGFILE = m_dir + "watched.log";
        audition.Logfile.CHECK_INTERVAL = 5;
        EXPECT_TRUE(m_database.SetAudition(audition));
        return audition.AUDITION_ID;
    }
    // Entries of the list and how many of them run.
    std::pair<int, int> ListState(CConsoleEngine& engine) {
        CAuditionList& list = engine.GetAuditionList();
        CAuditionListLock lock(list);
        int running = 0;
        for (int index = 0; index < list.GetSize(); ++index)
            running += list.GetAt(index).Running;
        return {list.GetSize(), running};
    }
    int ActiveInDatabase() {
        DBAuditionList auditions;
        EXPECT_TRUE(m_database.GetAllAuditions(auditions));
        int active = 0;
        for (const DBAudition& audition : auditions)
            active += audition.ACTIVE;
        return active;
    }
    std::string StoredReactivation() {
        return CRegistryFile(m_settings.RegistryFile)
            .ReadString(kTarnRegistryKey, "ReactivateSurv");
    }
    // One start of the console as the application does it.
    std::unique_ptr<CConsoleEngine> Start() {
        auto engine = NewEngine();
        engine->InitializeFrame();
        if (m_settings.GetReactivate())
            engine->SynchronizeAuditionList();
        return engine;
    }

    std::string m_dir;
    CDBEngineTARN m_database;
    CGlobalSettings m_settings;
    QuietView m_view;
    NoReplyPinger m_pinger;
    CHeadlessPluginUI m_pluginUI{false};
};

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
