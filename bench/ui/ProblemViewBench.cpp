// Opening the problem view on a history of 100,000 problems, against reading
// the same problems through the database thread alone. The view reads off the
// user interface thread; "longest_pause_ms" is the longest time that thread was
// kept from its events while the view opened (what an operator sees as a
// freeze). Runs offscreen.
#include "CDBEngineTARN.h"
#include "CDBSchema.h"
#include "CViewProblemsDialog.h"
#include "TARNTool.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr int kProblems = 100000;

// A history file with kProblems problems in a private directory, made once.
class CLargeHistory {
public:
    CLargeHistory() {
        std::string pattern =
            std::string(std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp") +
            "/tarn-view-bench-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp");
        m_dir = pattern;
        std::string error;
        if (!CDBSchema::CreateConfigurationFile(m_dir + "/TARN.MDB", {},
                                                CDBSchema::DefaultNotifyServicesConfig(), error) ||
            !CDBSchema::CreateHistoryFile(m_dir + "/HISTORY.MDB", error))
            throw std::runtime_error(error);
        bool config = false, history = false;
        if (!engine.Open(m_dir + "/TARN.MDB", m_dir + "/HISTORY.MDB", config, history))
            throw std::runtime_error("open");
        for (int i = 0; i < kProblems; ++i)
            Store(i);
    }
    ~CLargeHistory() {
        engine.Close();
        std::filesystem::remove_all(m_dir);
    }
    CDBEngineTARN engine;

private:
    void Store(int i) {
        DBHProblem problem;
        problem.PROBLEM_ID = DB_KEY_NEW;
        const int32_t statuses[] = {PROBLEM_OPEN, PROBLEM_UNRESOLVED, PROBLEM_RESOLVED};
        problem.PROBLEM_STATUS = statuses[i % 3];
        problem.PROBLEM_DESCRIPTION = "Fehler " + std::to_string(i);
        problem.PROBLEM_BEGIN = "20240115100000";
        problem.AUDITION_ID = 1 + i % 50;
        problem.AUDITION_NAME = "Druckdienst";
        problem.COMPUTER_NAME = "host" + std::to_string(i % 400);
        if (!engine.SetProblem(problem))
            throw std::runtime_error("store");
    }
    std::string m_dir;
};

CLargeHistory& History() {
    static CLargeHistory history;
    return history;
}

void BM_ReadAllProblemsThroughTheDatabaseThread(benchmark::State& state) {
    CDBEngineTARN& engine = History().engine;
    for (auto _ : state) {
        DBHProblemList problems;
        engine.GetAllProblems(0, 0, problems);
        if (problems.size() != kProblems)
            state.SkipWithError("not every problem was read");
        benchmark::DoNotOptimize(problems);
    }
}
BENCHMARK(BM_ReadAllProblemsThroughTheDatabaseThread)->Unit(benchmark::kMillisecond);

// From LoadProblems until every row is in the view, serving events meanwhile.
void BM_OpenProblemViewOnLargeHistory(benchmark::State& state) {
    CDBEngineTARN& engine = History().engine;
    double longestPauseMs = 0;
    for (auto _ : state) {
        CViewProblemsDialog view(engine, QStringLiteral("velda TARN! 2.5"));
        view.resize(700, 500);
        view.show();
        view.LoadProblems();
        QElapsedTimer pause;
        while (view.IsLoading()) {
            pause.start();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            longestPauseMs = std::max(longestPauseMs, pause.nsecsElapsed() / 1e6);
        }
        if (view.Problems().rowCount() != kProblems)
            state.SkipWithError("not every problem was shown");
    }
    state.counters["longest_pause_ms"] = longestPauseMs;
}
BENCHMARK(BM_OpenProblemViewOnLargeHistory)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LANG", "de_DE.UTF-8");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
