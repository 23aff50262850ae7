// The worker-thread shape: the thread's name, passes every period, an
// exception in a pass reported through the trace file without ending the
// thread, and a stop that ends it.
#include "WorkerThread.h"
#include "TraceCapture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <pthread.h>
#include <stdexcept>
#include <thread>

namespace {

std::string CurrentThreadName() {
    char name[32] = {};
    ::pthread_getname_np(::pthread_self(), name, sizeof name);
    return name;
}

TEST(WorkerThreadTest, PassesRunUnderTheThreadsNameUntilStopped) {
    CEvent stop(true);
    std::atomic<int> passes{0};
    std::atomic<bool> finished{false};
    std::string seenName;
    CWorkerThread worker(
        "tarn-audit", stop, std::chrono::milliseconds(1),
        [&] {
            if (passes++ == 0)
                seenName = CurrentThreadName();
            if (passes == 3)
                stop.Set();
        },
        [&] { finished = true; });
    worker.Start();
    worker.Join();
    EXPECT_EQ(passes, 3);
    EXPECT_EQ(seenName, "tarn-audit");
    EXPECT_TRUE(finished);
    EXPECT_FALSE(worker.IsThreadRunning());
}

TEST(WorkerThreadTest, AnExceptionInAPassIsReportedAndTheNextPassRuns) {
    struct Case {
        const char* name;
        std::function<void()> thrower;
        const char* reported;
    } cases[] = {
        {"standard", [] { throw std::runtime_error("Platte voll"); }, "Bedingung: Platte voll"},
        {"bad_alloc", [] { throw std::bad_alloc(); }, "Bedingung: std::bad_alloc"},
        {"other", [] { throw 42; }, "Bedingung: unbekannte Ausnahme"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TraceCapture trace;
        CEvent stop(true);
        std::atomic<int> passes{0};
        CWorkerThread worker("tarn-notify", stop, std::chrono::milliseconds(1), [&] {
            if (++passes == 1)
                c.thrower();
            stop.Set();
        });
        worker.Start();
        worker.Join();
        EXPECT_EQ(passes, 2);
        const std::string text = trace.Text();
        EXPECT_EQ(trace.AssertCount(), 1u);
        EXPECT_NE(text.find("Assert fehlgeschlagen!"), std::string::npos) << text;
        EXPECT_NE(text.find(c.reported), std::string::npos) << text;
        EXPECT_NE(text.find("Unerwartete Ausnahme in tarn-notify"), std::string::npos) << text;
    }
}

TEST(WorkerThreadTest, StopSetsTheEventAndJoinsAThreadWaitingALongPeriod) {
    CEvent stop(true);
    std::atomic<int> passes{0};
    CWorkerThread worker("tarn-db", stop, std::chrono::hours(1), [&] { ++passes; });
    worker.Start();
    EXPECT_TRUE(worker.IsThreadRunning());
    worker.Stop();
    EXPECT_TRUE(stop.IsSet());
    EXPECT_FALSE(worker.IsThreadRunning());
    EXPECT_EQ(passes, 0);
}

TEST(WorkerThreadTest, LongNamesAreCutToWhatTheSystemKeeps) {
    std::string seen;
    std::thread named([&] {
        SetCurrentThreadName("tarn-a-very-long-thread-name");
        seen = CurrentThreadName();
    });
    named.join();
    EXPECT_EQ(seen, "tarn-a-very-lon");
}

} // namespace
