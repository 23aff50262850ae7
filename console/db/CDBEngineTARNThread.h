// The database thread: owns both database connections for its whole life and
// serves the request codes one at a time. Every request is answered by
// signalling the completion event, on which the one waiting caller blocks.
// Both sides spin briefly before they block: most requests are answered in
// microseconds, faster than a sleeping thread wakes up.
//
// The reporter is called on this thread while the caller waits (see
// IDBReporter.h for the rule that keeps this free of deadlocks).
#pragma once

#include "CDBConfigStore.h"
#include "CDBConnection.h"
#include "CDBHistoryStore.h"
#include "DBRequestBlock.h"
#include "Event.h"
#include "IDBReporter.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

class CDBEngineTARNThread {
public:
    // Starts the thread at once; its request queue exists before it runs.
    explicit CDBEngineTARNThread(IDBReporter& reporter);
    // Joins the thread; the owner ends it first with DB_REQUEST_END_THREAD.
    ~CDBEngineTARNThread();
    CDBEngineTARNThread(const CDBEngineTARNThread&) = delete;
    CDBEngineTARNThread& operator=(const CDBEngineTARNThread&) = delete;

    // Queues a request for the thread (the replacement of the thread message).
    void PostRequest(int nCode);
    // Blocks until the thread has served the request (auto-reset event).
    void WaitForCompletion();
    DBRequestBlock& RequestBlock() { return m_block; }

    // The wait before each conversion step; one second unless set.
    void SetConversionPause(std::chrono::milliseconds pause) { m_conversionPause = pause; }

private:
    IDBReporter& m_reporter;
    static constexpr std::chrono::microseconds kSpinLimit{50};

    CEvent m_completion{false, false};
    std::atomic<bool> m_bCompleted{false}; // set with m_completion, for the spinning caller
    std::atomic<int> m_nQueued{0};         // requests in m_queue, for the spinning thread
    std::mutex m_queueLock;
    std::condition_variable m_queueSignal;
    std::deque<int> m_queue;
    DBRequestBlock m_block;
    std::chrono::milliseconds m_conversionPause{1000};

    std::unique_ptr<CDBConnection> m_pConfigDB;
    std::unique_ptr<CDBConnection> m_pHistoryDB;
    std::unique_ptr<CDBConfigStore> m_pConfigStore;
    std::unique_ptr<CDBHistoryStore> m_pHistoryStore;

    std::thread m_thread; // last: starts once every member above exists

    void Run();
    int NextRequest();
    void SignalCompletion();
    // Every code but the end request; an undefined code is reported and
    // leaves the result slots as they were.
    void Serve(int nCode);
    bool ServeConfiguration(int nCode, CDBConfigStore& store);
    bool ServeHistory(int nCode, CDBHistoryStore& store);

    void Open();
    void Close();
    void GetDBVersions();
};
