// Test notifications of the configuration sheets' "Test" buttons. Each test
// runs on a thread of its own, so that a slow channel (an SMS dial-up takes
// 45 seconds and more) never blocks the caller, and the caller is told the
// result on that thread. The owner of the channels closes this before it
// releases them: Close waits for every running test and refuses later ones.
#pragma once

#include "INotificationChannels.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CTestNotifications {
public:
    using Done = std::function<void(int32_t result)>;

    CTestNotifications() = default;
    ~CTestNotifications();
    CTestNotifications(const CTestNotifications&) = delete;
    CTestNotifications& operator=(const CTestNotifications&) = delete;

    // Tests go through channels from now on, until Close.
    void Open(INotificationChannels& channels);
    // Sends job through the channel in test mode on a new thread and calls
    // done there with the channel's result. While closed, done gets 0 at once
    // on the calling thread.
    void Start(NotificationChannel channel, NotificationJob job, Done done);
    // Waits for the running tests; later ones are refused until Open.
    void Close();

private:
    struct Test {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };
    void JoinFinished();

    std::mutex m_lock;
    INotificationChannels* m_pChannels = nullptr;
    std::vector<Test> m_tests;
};
