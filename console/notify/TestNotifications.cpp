#include "TestNotifications.h"

#include "WorkerThread.h"

CTestNotifications::~CTestNotifications() {
    Close();
}

void CTestNotifications::Open(INotificationChannels& channels) {
    std::lock_guard guard(m_lock);
    m_pChannels = &channels;
}

void CTestNotifications::Start(NotificationChannel channel, NotificationJob job, Done done) {
    std::unique_lock guard(m_lock);
    if (!m_pChannels) {
        guard.unlock();
        done(0);
        return;
    }
    JoinFinished();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    INotificationChannels& channels = *m_pChannels;
    std::thread thread(
        [&channels, channel, job = std::move(job), done = std::move(done), finished] {
            SetCurrentThreadName("tarn-test");
            int32_t result = 0; // a send that throws counts as failed
            CWorkerThread::RunGuarded(
                "tarn-test", [&] { result = SendThroughChannel(channels, channel, job, true); });
            done(result);
            finished->store(true);
        });
    m_tests.push_back({std::move(thread), std::move(finished)});
}

// A finished test only has its thread's end left: joining it is immediate.
void CTestNotifications::JoinFinished() {
    for (auto test = m_tests.begin(); test != m_tests.end();) {
        if (test->finished->load()) {
            test->thread.join();
            test = m_tests.erase(test);
        } else {
            ++test;
        }
    }
}

void CTestNotifications::Close() {
    std::vector<Test> running;
    {
        std::lock_guard guard(m_lock);
        m_pChannels = nullptr;
        running.swap(m_tests);
    }
    for (Test& test : running)
        test.thread.join();
}
