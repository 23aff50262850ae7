// Requests through the database thread against the same work done with plain
// SQLite calls on the same files, so the thread's share of each request shows.
// The files lie in /dev/shm when it exists (no disk flushes in the figures),
// else in /tmp. Report medians: --benchmark_repetitions=9
// --benchmark_report_aggregates_only=true
#include "CDBConfigStore.h"
#include "CDBEngineTARN.h"
#include "CDBSchema.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace {

class CSilentReporter : public IDBReporter {
public:
    void ReportError(const std::string& strText) override { throw std::runtime_error(strText); }
    void BeginProgress(const std::string&, int) override {}
    void StepProgress(int) override {}
    void EndProgress() override {}
};

// A fresh installation in a private directory, removed at the end.
class CBenchFiles {
public:
    CBenchFiles() {
        std::string strBase = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string strPattern = strBase + "/tarn-db-bench-XXXXXX";
        if (!::mkdtemp(strPattern.data()))
            throw std::runtime_error("mkdtemp");
        m_strDir = strPattern;
        Config = m_strDir + "/TARN.MDB";
        History = m_strDir + "/HISTORY.MDB";
        std::string strError;
        if (!CDBSchema::CreateConfigurationFile(
                Config, {}, CDBSchema::DefaultNotifyServicesConfig(), strError) ||
            !CDBSchema::CreateHistoryFile(History, strError))
            throw std::runtime_error(strError);
    }
    ~CBenchFiles() { std::filesystem::remove_all(m_strDir); }
    std::string Config, History;

private:
    std::string m_strDir;
};

std::unique_ptr<CDBEngineTARN> OpenEngine(const CBenchFiles& files, CSilentReporter& reporter) {
    auto pEngine = std::make_unique<CDBEngineTARN>(&reporter);
    bool bConfig = false, bHistory = false;
    if (!pEngine->Open(files.Config, files.History, bConfig, bHistory))
        throw std::runtime_error("open");
    return pEngine;
}

DBAudition MakeAudition(int i) {
    DBAudition audition;
    audition.AUDITION_ID = AUDITION_ID_NEW;
    audition.AUDITION_TYPE = 1 + i % 6;
    audition.NAME = "Audition " + std::to_string(i);
    audition.DESCRIPTION = "Beschreibung der Überwachung";
    audition.App.SERVER_PATH = audition.Service.SERVER_PATH = audition.NTEvtLog.SERVER_PATH =
        audition.Net.SERVER_PATH = audition.Plugin.SERVER_PATH = "HOST" + std::to_string(i % 40);
    audition.Net.IP_ADDRESS = "127.0.0.1";
    audition.Logfile.LOGFILE = "/var/log/app.log";
    return audition;
}

const char* kDetailTables[] = {"",
                               "AUDITIONS_APP",
                               "AUDITIONS_SERVICE",
                               "AUDITIONS_LOGFILE",
                               "AUDITIONS_NTEVTLOG",
                               "AUDITIONS_NET",
                               "AUDITIONS_PLUGIN"};

// ---- plain SQLite: the same statements, prepared once, no thread ----

class CPlain {
public:
    explicit CPlain(const std::string& strPath) {
        sqlite3_open_v2(strPath.c_str(), &m_pDB, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~CPlain() {
        for (sqlite3_stmt* pStmt : m_statements)
            sqlite3_finalize(pStmt);
        sqlite3_close(m_pDB);
    }
    sqlite3_stmt* Prepare(const std::string& strSQL) {
        sqlite3_stmt* pStmt = nullptr;
        sqlite3_prepare_v3(m_pDB, strSQL.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &pStmt, nullptr);
        m_statements.push_back(pStmt);
        return pStmt;
    }
    sqlite3* Handle() { return m_pDB; }

private:
    sqlite3* m_pDB = nullptr;
    std::vector<sqlite3_stmt*> m_statements;
};

// Reads one audition row and its detail row as GetAudition does.
struct CPlainAuditionReader {
    explicit CPlainAuditionReader(CPlain& plain)
        : pMain(plain.Prepare("SELECT * FROM AUDITIONS WHERE AUDITION_ID = ?")) {
        for (int nType = 1; nType <= 6; ++nType)
            pDetail[nType] = plain.Prepare(std::string("SELECT * FROM ") + kDetailTables[nType] +
                                           " WHERE AUDITION_ID = ?");
    }
    // Copies the texts as the binding does, so both sides do the same work.
    size_t Read(int64_t nID) {
        size_t nBytes = 0;
        sqlite3_bind_int64(pMain, 1, nID);
        int nType = 0;
        if (sqlite3_step(pMain) == SQLITE_ROW) {
            nType = sqlite3_column_int(pMain, 8);
            for (int c = 0; c < sqlite3_column_count(pMain); ++c)
                nBytes +=
                    std::string(reinterpret_cast<const char*>(sqlite3_column_text(pMain, c)
                                                                  ? sqlite3_column_text(pMain, c)
                                                                  : (const unsigned char*)""))
                        .size();
        }
        sqlite3_reset(pMain);
        if (nType >= 1 && nType <= 6) {
            sqlite3_stmt* pStmt = pDetail[nType];
            sqlite3_bind_int64(pStmt, 1, nID);
            if (sqlite3_step(pStmt) == SQLITE_ROW)
                for (int c = 0; c < sqlite3_column_count(pStmt); ++c)
                    nBytes += static_cast<size_t>(sqlite3_column_bytes(pStmt, c));
            sqlite3_reset(pStmt);
        }
        return nBytes;
    }
    sqlite3_stmt* pMain;
    sqlite3_stmt* pDetail[7] = {};
};

// ---------------------------------------------------------------- the thread alone

// A request that touches no file (closing a closed front): the cost of the
// hand-over to the database thread and back.
void BM_EmptyRequest_Thread(benchmark::State& state) {
    CSilentReporter reporter;
    CDBEngineTARN engine(&reporter);
    for (auto _ : state)
        engine.Close();
}
BENCHMARK(BM_EmptyRequest_Thread);

// The processor time that the front and its database thread use while they
// wait for work: after each request the benchmark thread sleeps 100 ms, and
// the iteration time is the processor time of the whole process in that sleep
// (the sleeping benchmark thread itself uses none).
void BM_IdleThread_CpuPer100ms(benchmark::State& state) {
    CSilentReporter reporter;
    CDBEngineTARN engine(&reporter);
    auto processCpu = [] {
        timespec used{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
        return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
    };
    for (auto _ : state) {
        engine.Close();
        const double before = processCpu();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        state.SetIterationTime(processCpu() - before);
    }
}
BENCHMARK(BM_IdleThread_CpuPer100ms)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(10);

// ---------------------------------------------------------------- GetAudition

void BM_GetAudition_Thread(benchmark::State& state) {
    CBenchFiles files;
    CSilentReporter reporter;
    auto pEngine = OpenEngine(files, reporter);
    DBAudition audition = MakeAudition(4); // Net
    pEngine->SetAudition(audition);
    DBAudition read;
    for (auto _ : state)
        benchmark::DoNotOptimize(pEngine->GetAudition(audition.AUDITION_ID, read));
}
BENCHMARK(BM_GetAudition_Thread);

void BM_GetAudition_StoreWithoutThread(benchmark::State& state) {
    CBenchFiles files;
    CSilentReporter reporter;
    std::string strError;
    auto pConnection = CDBConnection::Open(files.Config, strError);
    CDBConfigStore store(*pConnection, reporter);
    DBAudition audition = MakeAudition(4);
    store.SetAudition(audition);
    DBAudition read;
    for (auto _ : state)
        benchmark::DoNotOptimize(store.GetAudition(audition.AUDITION_ID, read));
}
BENCHMARK(BM_GetAudition_StoreWithoutThread);

void BM_GetAudition_PlainSQLite(benchmark::State& state) {
    CBenchFiles files;
    CSilentReporter reporter;
    int32_t nID = 0;
    {
        auto pEngine = OpenEngine(files, reporter);
        DBAudition audition = MakeAudition(4);
        pEngine->SetAudition(audition);
        nID = audition.AUDITION_ID;
    }
    CPlain plain(files.Config);
    CPlainAuditionReader reader(plain);
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.Read(nID));
}
BENCHMARK(BM_GetAudition_PlainSQLite);

// ---------------------------------------------------------------- SetEventEntry

DBHEvent MakeEvent(int i) {
    DBHEvent event;
    event.EVENT_ID = DB_KEY_NEW;
    event.DATE = "20240101120000";
    event.COMPUTER = "HOST";
    event.SOURCE = 3;
    event.TYPE = 4;
    event.CATEGORY = 11;
    event.INFO_ID = "1";
    event.EVENT_DESCRIPTION = "Benachrichtigung gesendet " + std::to_string(i);
    event.PROBLEM_ID = 1 + i % 100;
    return event;
}

void BM_SetEventEntry_Thread(benchmark::State& state) {
    CBenchFiles files;
    CSilentReporter reporter;
    auto pEngine = OpenEngine(files, reporter);
    int i = 0;
    for (auto _ : state) {
        DBHEvent event = MakeEvent(i++);
        benchmark::DoNotOptimize(pEngine->SetEventEntry(event));
    }
}
BENCHMARK(BM_SetEventEntry_Thread);

void BM_SetEventEntry_PlainSQLite(benchmark::State& state) {
    CBenchFiles files;
    CPlain plain(files.History);
    sqlite3_stmt* pInsert = plain.Prepare(
        "INSERT INTO EVENTS (DATE, COMPUTER, SOURCE, SOURCE_NAME, SOURCE_MODULE_NAME, TYPE, "
        "CATEGORY, EVENT_DESCRIPTION, INFO_ID, PROBLEM_ID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int i = 0;
    for (auto _ : state) {
        DBHEvent event = MakeEvent(i++);
        sqlite3_bind_text(pInsert, 1, event.DATE.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(pInsert, 2, event.COMPUTER.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(pInsert, 3, event.SOURCE);
        sqlite3_bind_text(pInsert, 4, event.SOURCE_NAME.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(pInsert, 5, event.SOURCE_MODULE_NAME.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(pInsert, 6, event.TYPE);
        sqlite3_bind_int(pInsert, 7, event.CATEGORY);
        sqlite3_bind_text(pInsert, 8, event.EVENT_DESCRIPTION.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(pInsert, 9, event.INFO_ID.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(pInsert, 10, event.PROBLEM_ID);
        sqlite3_step(pInsert);
        sqlite3_reset(pInsert);
        benchmark::DoNotOptimize(
            event.EVENT_ID = static_cast<int32_t>(sqlite3_last_insert_rowid(plain.Handle())));
    }
}
BENCHMARK(BM_SetEventEntry_PlainSQLite);

// ---------------------------------------------------------------- GetAllProblems

void FillProblems(const std::string& strPath, int nCount) {
    CPlain plain(strPath);
    sqlite3_exec(plain.Handle(), "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* pInsert = plain.Prepare(
        "INSERT INTO PROBLEMS (PROBLEM_STATUS, PROBLEM_DESCRIPTION, MAX_DURATION, PROBLEM_BEGIN, "
        "PROBLEM_END, AUDITION_ID, ERROR_COUNT, AUDITION_NAME, COMPUTER_NAME) VALUES (?, "
        "'Dienst gestoppt', 15, '20240101120000', '20240101121500', ?, 1, 'Spooler', 'HOST')");
    for (int i = 0; i < nCount; ++i) {
        sqlite3_bind_int(pInsert, 1, i % 10 == 0 ? 1 : 4);
        sqlite3_bind_int(pInsert, 2, 1 + i % 500);
        sqlite3_step(pInsert);
        sqlite3_reset(pInsert);
    }
    sqlite3_exec(plain.Handle(), "COMMIT", nullptr, nullptr, nullptr);
}

void BM_GetAllProblems100k_Thread(benchmark::State& state) {
    CBenchFiles files;
    FillProblems(files.History, 100000);
    CSilentReporter reporter;
    auto pEngine = OpenEngine(files, reporter);
    DBHProblemList list;
    for (auto _ : state) {
        pEngine->GetAllProblems(0, 0, list);
        benchmark::DoNotOptimize(list.size());
    }
}
BENCHMARK(BM_GetAllProblems100k_Thread)->Unit(benchmark::kMillisecond);

void BM_GetAllProblems100k_PlainSQLite(benchmark::State& state) {
    CBenchFiles files;
    FillProblems(files.History, 100000);
    CPlain plain(files.History);
    sqlite3_stmt* pSelect = plain.Prepare(
        "SELECT PROBLEM_ID, PROBLEM_STATUS, PROBLEM_DESCRIPTION, MAX_DURATION, PROBLEM_BEGIN, "
        "PROBLEM_END, AUDITION_ID, ERROR_COUNT, AUDITION_NAME, COMPUTER_NAME FROM PROBLEMS");
    auto text = [&](int c) {
        const unsigned char* p = sqlite3_column_text(pSelect, c);
        return std::string(p ? reinterpret_cast<const char*>(p) : "");
    };
    DBHProblemList list;
    for (auto _ : state) {
        list.clear();
        while (sqlite3_step(pSelect) == SQLITE_ROW) {
            DBHProblem& problem = list.emplace_back();
            problem.PROBLEM_ID = sqlite3_column_int(pSelect, 0);
            problem.PROBLEM_STATUS = sqlite3_column_int(pSelect, 1);
            problem.PROBLEM_DESCRIPTION = text(2);
            problem.MAX_DURATION = sqlite3_column_int(pSelect, 3);
            problem.PROBLEM_BEGIN = text(4);
            problem.PROBLEM_END = text(5);
            problem.AUDITION_ID = sqlite3_column_int(pSelect, 6);
            problem.ERROR_COUNT = sqlite3_column_int(pSelect, 7);
            problem.AUDITION_NAME = text(8);
            problem.COMPUTER_NAME = text(9);
        }
        sqlite3_reset(pSelect);
        benchmark::DoNotOptimize(list.size());
    }
}
BENCHMARK(BM_GetAllProblems100k_PlainSQLite)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- GetAllAuditions

void FillAuditions(CDBEngineTARN& engine, int nCount) {
    for (int i = 0; i < nCount; ++i) {
        DBAudition audition = MakeAudition(i);
        engine.SetAudition(audition);
    }
}

void BM_GetAllAuditions5k_Thread(benchmark::State& state) {
    CBenchFiles files;
    CSilentReporter reporter;
    auto pEngine = OpenEngine(files, reporter);
    FillAuditions(*pEngine, 5000);
    DBAuditionList list;
    for (auto _ : state) {
        pEngine->GetAllAuditions(list);
        benchmark::DoNotOptimize(list.size());
    }
}
BENCHMARK(BM_GetAllAuditions5k_Thread)->Unit(benchmark::kMillisecond);

void BM_GetAllAuditions5k_PlainSQLite(benchmark::State& state) {
    CBenchFiles files;
    CSilentReporter reporter;
    {
        auto pEngine = OpenEngine(files, reporter);
        FillAuditions(*pEngine, 5000);
    }
    CPlain plain(files.Config);
    CPlainAuditionReader reader(plain);
    sqlite3_stmt* pKeys = plain.Prepare("SELECT AUDITION_ID FROM AUDITIONS");
    for (auto _ : state) {
        size_t nBytes = 0;
        sqlite3_exec(plain.Handle(), "BEGIN", nullptr, nullptr, nullptr);
        while (sqlite3_step(pKeys) == SQLITE_ROW)
            nBytes += reader.Read(sqlite3_column_int64(pKeys, 0));
        sqlite3_reset(pKeys);
        sqlite3_exec(plain.Handle(), "COMMIT", nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(nBytes);
    }
}
BENCHMARK(BM_GetAllAuditions5k_PlainSQLite)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
