// The shape shared by the console's worker threads: a thread with a name that
// waits its period on the stop event between two passes, runs each pass inside
// an exception boundary, and ends when the stop event is set. A pass that
// throws is written to the trace file as an assertion report; the next pass
// runs as usual, so one failing check never ends the console.
#pragma once

#include "Event.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

class CWorkerThread {
public:
    // name: at most 15 characters are shown by the system ("tarn-audit").
    // pass runs every period; finish runs once after the stop event was set.
    // stopEvent is a manual-reset event owned by the caller.
    CWorkerThread(std::string name, CEvent& stopEvent, std::chrono::milliseconds period,
                  std::function<void()> pass, std::function<void()> finish = {});
    // Waits for the thread; the owner sets the stop event first (or calls Stop).
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Starts the thread; the first pass comes one period later.
    void Start();
    // Sets the stop event and waits until the thread has ended.
    void Stop();
    // Waits until the thread has ended.
    void Join();
    // True from Start until the thread has ended.
    bool IsThreadRunning() const { return m_bRunning; }
    const std::string& GetName() const { return m_name; }

    // Runs work inside the exception boundary: an exception is reported as
    // an assertion naming where it happened, and swallowed.
    static void RunGuarded(const std::string& where, const std::function<void()>& work);

private:
    void Run();

    const std::string m_name;
    CEvent& m_stopEvent;
    const std::chrono::milliseconds m_period;
    const std::function<void()> m_pass;
    const std::function<void()> m_finish;
    std::atomic<bool> m_bRunning{false};
    std::thread m_thread;
};

// Gives the calling thread its name (cut to the 15 characters the system keeps).
void SetCurrentThreadName(const std::string& name);
// Reports the exception being handled (call inside a catch block) as an
// assertion whose description names where it was caught.
void ReportCurrentException(const std::string& where);
