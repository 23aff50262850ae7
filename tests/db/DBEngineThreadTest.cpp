// The database thread and its front: opening and closing, the open-state
// assertions, undefined request codes, error reports on the database thread
// and callers on several threads.
#include "CDBHistoryStore.h"
#include "DBRequestBlock.h"
#include "DBTestSupport.h"

#include <atomic>
#include <deque>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct OpenResult {
    bool bResult, bConfig, bHistory;
};

OpenResult OpenFiles(CDBEngineTARN& engine, const std::string& strConfig,
                     const std::string& strHistory) {
    OpenResult result{};
    result.bResult = engine.Open(strConfig, strHistory, result.bConfig, result.bHistory);
    return result;
}

// Makes something at the path that is not a database of the system.
void MakeNonDatabase(const std::string& strPath, const std::string& strKind) {
    if (strKind == "directory") {
        ::mkdir(strPath.c_str(), 0700);
    } else if (strKind == "empty") {
        std::ofstream(strPath).close();
    } else if (strKind == "random") {
        std::ofstream out(strPath, std::ios::binary);
        unsigned nSeed = 12345;
        for (int i = 0; i < 8192; ++i) {
            nSeed = nSeed * 1103515245u + 12345u;
            out.put(static_cast<char>(nSeed >> 16));
        }
    } else if (strKind == "text") {
        std::ofstream(strPath) << "[SOFTWARE\\velda\\TARN!]\nOEMName=velda\n";
    }
}

} // namespace

class DBOpenFailureTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DBOpenFailureTest, ConfigurationFileThatIsNotADatabase) {
    CTempDir dir;
    CTraceCapture trace(dir);
    DBFiles files = CreateFreshFiles(dir);
    const std::string strBad = dir.File("bad.MDB");
    MakeNonDatabase(strBad, GetParam());
    CRecordingReporter reporter;
    CDBEngineTARN engine(&reporter);
    OpenResult result = OpenFiles(engine, strBad, files.History);
    EXPECT_FALSE(result.bResult);
    EXPECT_FALSE(result.bConfig); // the start shows message 1000
    EXPECT_FALSE(result.bHistory);
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_TRUE(reporter.Errors().empty());
}

TEST_P(DBOpenFailureTest, HistoryFileThatIsNotADatabase) {
    CTempDir dir;
    DBFiles files = CreateFreshFiles(dir);
    const std::string strBad = dir.File("bad.MDB");
    MakeNonDatabase(strBad, GetParam());
    CRecordingReporter reporter;
    CDBEngineTARN engine(&reporter);
    OpenResult result = OpenFiles(engine, files.Config, strBad);
    EXPECT_FALSE(result.bResult);
    EXPECT_TRUE(result.bConfig);
    EXPECT_FALSE(result.bHistory); // the start shows message 1002
    EXPECT_TRUE(reporter.Errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, DBOpenFailureTest,
                         ::testing::Values("missing", "empty", "random", "text", "directory"));

TEST(DBEngineThread, OpenCloseAndTheOpenStateAssertions) {
    CTempDir dir;
    CTraceCapture trace(dir);
    DBFiles files = CreateFreshFiles(dir);
    CRecordingReporter reporter;
    CDBEngineTARN engine(&reporter);

    // Any operation before Open is reported and fails.
    DBAudition audition;
    EXPECT_FALSE(engine.GetAudition(1, audition));
    DBHProblemList problems;
    EXPECT_FALSE(engine.GetAllProblems(0, 0, problems));
    EXPECT_EQ(trace.Count("m_bEngineOpen", "DBEngine nicht geöffnet"), 2);
    EXPECT_TRUE(reporter.Errors().empty());

    ASSERT_TRUE(OpenFiles(engine, files.Config, files.History).bResult);
    EXPECT_TRUE(engine.IsOpen());
    OpenResult again = OpenFiles(engine, files.Config, files.History);
    EXPECT_EQ(trace.Count("!m_bEngineOpen", "DBEngine schon geöffnet"), 1);
    EXPECT_TRUE(again.bResult);

    int32_t nConfig = 0, nHistory = 0;
    engine.GetDBVersions(nConfig, nHistory);
    EXPECT_EQ(nConfig, 10);
    EXPECT_EQ(nHistory, 2);

    engine.Close();
    engine.Close(); // the second does nothing
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_EQ(trace.Total(), 3);
    EXPECT_FALSE(engine.GetAudition(1, audition));
    EXPECT_EQ(trace.Count("m_bEngineOpen", "DBEngine nicht geöffnet"), 3);
}

TEST_F(DBEngineTest, UndefinedRequestCodeIsReportedAndAnswered) {
    DBNotifyProfile profile{DB_KEY_NEW, "p", ""};
    ASSERT_TRUE(Engine().SetNotifyProfile(profile));
    // The caller is released and sees the result slot's previous value.
    EXPECT_TRUE(Engine().SendRequest(999));
    EXPECT_EQ(m_trace.Count("FALSE", "Ungültiger Funktionsaufruf"), 1);
    DBNotifyProfile missing;
    EXPECT_FALSE(Engine().GetNotifyProfile(4711, missing));
    EXPECT_FALSE(Engine().SendRequest(125));
    EXPECT_FALSE(Engine().SendRequest(0));
    EXPECT_EQ(m_trace.Count("FALSE", "Ungültiger Funktionsaufruf"), 3);
    // The thread still serves.
    DBNotifyProfile read;
    EXPECT_TRUE(Engine().GetNotifyProfile(profile.PROFILE_ID, read));
}

TEST(DBEngineThread, GetEventEntryOnTheHistoryStore) {
    // Code 201 has no caller and no member function of the front; the
    // operation itself is served by the history store.
    CTempDir dir;
    CTraceCapture trace(dir);
    DBFiles files = CreateFreshFiles(dir);
    std::string strError;
    auto pConnection = CDBConnection::Open(files.History, strError);
    ASSERT_TRUE(pConnection) << strError;
    CRecordingReporter reporter;
    CDBHistoryStore store(*pConnection, reporter);
    DBHEvent event;
    event.EVENT_ID = DB_KEY_NEW;
    event.COMPUTER = "HOST";
    event.INFO_ID = "4";
    ASSERT_TRUE(store.SetEventEntry(event));
    DBHEvent read;
    ASSERT_TRUE(store.GetEventEntry(event.EVENT_ID, read));
    EXPECT_EQ(read.COMPUTER, "HOST");
    EXPECT_EQ(read.INFO_ID, "4");
    EXPECT_FALSE(store.GetEventEntry(0, read));
    EXPECT_EQ(trace.Count("EventID > 0", "EventID nicht gültig"), 1);
    EXPECT_FALSE(store.GetEventEntry(event.EVENT_ID + 1, read));
    EXPECT_EQ(trace.Count("bSeekResult", "EventID nicht gefunden"), 1);
}

TEST_F(DBEngineTest, EngineErrorInGetDBVersionsIsReportedOnTheDatabaseThread) {
    ExecSQL(m_files.Config, "DROP TABLE A_SYSTEM");
    int32_t nConfig = -1, nHistory = -1;
    Engine().GetDBVersions(nConfig, nHistory);
    EXPECT_EQ(nConfig, 0);
    EXPECT_EQ(nHistory, 0);
    std::vector<std::string> errors = m_reporter.Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(
        errors[0].rfind("Es ist ein Problem beim Zugriff auf die Datenbanken aufgetreten.", 0), 0u);
    EXPECT_NE(errors[0].find("Funktion:   \"GetDBVersions\""), std::string::npos);
    EXPECT_NE(errors[0].find("no such table: A_SYSTEM"), std::string::npos);
    EXPECT_NE(m_reporter.ErrorThread(), std::this_thread::get_id());
}

// A user interface whose message boxes must be shown on its own thread: the
// reporter only queues the box; the UI thread shows it once it is free. The
// caller is that UI thread, so a reporter that waited for the box would hang.
class CQueuedUiReporter : public IDBReporter {
public:
    void ReportError(const std::string& strText) override {
        std::lock_guard guard(m_lock);
        m_pending.push_back(strText);
    }
    void BeginProgress(const std::string&, int) override {}
    void StepProgress(int) override {}
    void EndProgress() override {}
    // Runs on the UI thread between its calls.
    std::vector<std::string> ShowPendingBoxes() {
        std::lock_guard guard(m_lock);
        std::vector<std::string> shown(m_pending.begin(), m_pending.end());
        m_pending.clear();
        return shown;
    }

private:
    std::mutex m_lock;
    std::deque<std::string> m_pending;
};

TEST(DBEngineThread, ErrorReportWhileTheUiThreadWaitsDoesNotDeadlock) {
    CTempDir dir;
    CTraceCapture trace(dir);
    DBFiles files = CreateFreshFiles(dir);
    ExecSQL(files.Config, "DROP TABLE NOTIFY_PROFILES");
    CQueuedUiReporter ui;
    auto uiThread = std::async(std::launch::async, [&] {
        CDBEngineTARN engine(&ui);
        bool bConfig = false, bHistory = false;
        engine.Open(files.Config, files.History, bConfig, bHistory);
        DBNotifyProfileList list;
        bool bResult = engine.GetAllNotifyProfiles(list);
        std::vector<std::string> shown = ui.ShowPendingBoxes();
        return std::make_pair(bResult, shown);
    });
    ASSERT_EQ(uiThread.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    auto [bResult, shown] = uiThread.get();
    EXPECT_FALSE(bResult);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("\"GetAllNotifyProfiles\""), std::string::npos);
}

TEST_F(DBEngineTest, CallersOnSeveralThreadsAreServedOneAtATime) {
    constexpr int kThreads = 4, kEach = 25;
    std::vector<std::thread> threads;
    std::atomic<int> nFailures{0};
    std::vector<std::vector<int32_t>> keys(kThreads);
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                DBHEvent event;
                event.EVENT_ID = DB_KEY_NEW;
                event.SOURCE = t;
                event.TYPE = i;
                if (!Engine().SetEventEntry(event))
                    ++nFailures;
                keys[t].push_back(event.EVENT_ID);
                if (Engine().IsAuditionValid(1000 + i))
                    ++nFailures;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(nFailures, 0);
    std::set<int32_t> distinct;
    for (const auto& list : keys)
        distinct.insert(list.begin(), list.end());
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kThreads * kEach));
    CloseEngine();
    EXPECT_EQ(QueryInt(m_files.History, "SELECT COUNT(*) FROM EVENTS"), kThreads * kEach);
}

TEST(DBEngineThread, DestroyingAnOpenFrontClosesAndEndsTheThread) {
    CTempDir dir;
    DBFiles files = CreateFreshFiles(dir);
    {
        CRecordingReporter reporter;
        CDBEngineTARN engine(&reporter);
        ASSERT_TRUE(OpenFiles(engine, files.Config, files.History).bResult);
    }
    // Nothing holds the files any more: they can be replaced at once.
    EXPECT_EQ(::unlink(files.Config.c_str()), 0);
    EXPECT_EQ(::access((files.Config + "-journal").c_str(), F_OK), -1);
}

// Callers on several threads hammer the hand-off with requests whose answers
// differ per caller and per request: every answer must be the one for the
// caller's own request, never a neighbour's or a stale one.
TEST_F(DBEngineTest, EveryAnswerBelongsToItsRequestUnderManyCallers) {
    constexpr int kThreads = 4, kEach = 400;
    std::vector<DBNotifyProfile> profiles;
    for (int t = 0; t < kThreads; ++t) {
        DBNotifyProfile profile{DB_KEY_NEW, "Profil " + std::to_string(t), ""};
        ASSERT_TRUE(Engine().SetNotifyProfile(profile));
        profiles.push_back(profile);
    }
    std::atomic<int> nWrongAnswers{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                // Each caller asks for its own profile and, in turn, a
                // neighbour's, a missing one and the versions.
                const DBNotifyProfile& wanted = profiles[(t + i) % kThreads];
                DBNotifyProfile read;
                if (!Engine().GetNotifyProfile(wanted.PROFILE_ID, read) ||
                    read.PROFILE_ID != wanted.PROFILE_ID || read.NAME != wanted.NAME)
                    ++nWrongAnswers;
                if (i % 7 == 0 && Engine().GetNotifyProfile(100000 + i, read))
                    ++nWrongAnswers;
                if (i % 11 == 0) {
                    int32_t nConfig = 0, nHistory = 0;
                    Engine().GetDBVersions(nConfig, nHistory);
                    if (nConfig != 10 || nHistory != 2)
                        ++nWrongAnswers;
                }
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(nWrongAnswers, 0);
    // Each missing profile was reported once, on its own request.
    EXPECT_EQ(m_trace.Total(), kThreads * ((kEach + 6) / 7));
}
