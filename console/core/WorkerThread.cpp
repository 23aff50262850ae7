#include "WorkerThread.h"

#include "LUTool.h"

#include <exception>
#include <pthread.h>

namespace {

// The longest thread name the system keeps, without its terminating NUL.
constexpr size_t kMaxThreadName = 15;

} // namespace

void SetCurrentThreadName(const std::string& name) {
    ::pthread_setname_np(::pthread_self(), name.substr(0, kMaxThreadName).c_str());
}

void ReportCurrentException(const std::string& where) {
    std::string what = "unbekannte Ausnahme";
    try {
        throw;
    } catch (const std::exception& error) {
        what = error.what();
    } catch (...) {
    }
    const std::string description = "Unerwartete Ausnahme in " + where;
    LUTool().Assert(false, what.c_str(), description.c_str(), __FILE__, __LINE__, 0);
}

CWorkerThread::CWorkerThread(std::string name, CEvent& stopEvent, std::chrono::milliseconds period,
                             std::function<void()> pass, std::function<void()> finish)
    : m_name(std::move(name)), m_stopEvent(stopEvent), m_period(period), m_pass(std::move(pass)),
      m_finish(std::move(finish)) {}

CWorkerThread::~CWorkerThread() {
    Join();
}

void CWorkerThread::Start() {
    TARN_ASSERT(!m_thread.joinable(), "Thread läuft schon");
    if (m_thread.joinable())
        return;
    m_bRunning = true;
    m_thread = std::thread(&CWorkerThread::Run, this);
}

void CWorkerThread::Stop() {
    m_stopEvent.Set();
    Join();
}

void CWorkerThread::Join() {
    if (m_thread.joinable())
        m_thread.join();
}

void CWorkerThread::RunGuarded(const std::string& where, const std::function<void()>& work) {
    try {
        work();
    } catch (...) {
        ReportCurrentException(where);
    }
}

void CWorkerThread::Run() {
    SetCurrentThreadName(m_name);
    while (!m_stopEvent.Wait(m_period))
        RunGuarded(m_name, m_pass);
    if (m_finish)
        RunGuarded(m_name, m_finish);
    m_bRunning = false;
}
