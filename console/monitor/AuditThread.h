// The audition thread: every period it walks the audition list from the first
// entry to the last, checks every audition that is due and hands each error
// signal to the console's problem handling. Application, service, NT event log
// and (on an agent computer) plug-in auditions are gated on their agent;
// application, service and NT event log errors are taken from the agent's log
// file, one line per check. Log file and network auditions are performed here.
//
// The list is never held locked while a check runs: each entry is claimed
// (CAuditionClaim), checked on the claim's copy and its run state written back;
// other threads that change the entry meanwhile wait for the claim to end.
#pragma once

#include "AgentExchange.h"
#include "AuditionList.h"
#include "DailyWindow.h"
#include "Event.h"
#include "IAuditionHost.h"
#include "IPinger.h"
#include "LMLogFile.h"
#include "WorkerThread.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

struct AuditThreadOptions {
    // The wait between two passes; the console always waits 15 seconds.
    std::chrono::milliseconds Period{15000};
    // The current time; the daily windows use its local hour.
    std::function<std::time_t()> Now = [] { return std::time(nullptr); };
    // The wait between two attempts to open an agent log file; empty: one second.
    LMLogFile::SleepFunction LogOpenSleep;
};

class CAuditThread {
public:
    // stopEvent is a manual-reset event owned by the caller; setting it ends the thread.
    CAuditThread(IAuditionHost& host, CAuditionList& auditions, CAgentExchange& agents,
                 IPinger& pinger, CEvent& stopEvent, AuditThreadOptions options = {});
    // Waits for the thread; the owner sets the stop event first.
    ~CAuditThread() = default;
    CAuditThread(const CAuditThread&) = delete;
    CAuditThread& operator=(const CAuditThread&) = delete;

    // Starts the thread; the first pass comes one period later.
    void Start();
    // True from Start until the thread has ended.
    bool IsThreadRunning() const { return m_worker.IsThreadRunning(); }
    // Waits until the thread has ended.
    void Join() { m_worker.Join(); }
    // Sets the stop event and waits until the thread has ended.
    void Stop() { m_worker.Stop(); }

    // Starts a stopped entry (the caller writes it back to the list). An
    // entry that cannot run stays stopped and gets one error line naming why.
    void StartAudition(AuditionEntry& entry);
    // Stops a running entry; a plug-in instance gets its stop call.
    void StopAudition(AuditionEntry& entry, bool silent);
    // Writes an event view line for the audition (its computer and name).
    void AddAuditionEventLine(const AuditionEntry& entry, int kind, const std::string& text);

    // One pass over the list without waiting (the thread runs it every
    // period). An exception while one entry is handled is reported and the
    // pass goes on with the next entry.
    void RunPass();
    // The passes completed since construction (for watching the thread's cost).
    uint64_t GetPassCount() const { return m_nPasses; }
    // Stops every entry of the list silently (the thread does it when it ends).
    void StopAllAuditions();
    // Checks one entry; true when it found an error signal.
    bool CheckEntry(AuditionEntry& entry);

private:
    void HandleEntry(AuditionEntry& entry);
    void WriteRunState(const AuditionEntry& entry);
    bool IsDue(const AuditionEntry& entry) const;
    bool PassesAgentGate(const AuditionEntry& entry);
    bool CheckAgentLogAudition(AuditionEntry& entry);
    bool FindMatchingLogEntry(AuditionEntry& entry, LMLogFile& log, const std::string& logPath);
    void ReportUnmarkableLine(AuditionEntry& entry, int32_t lineNumber, const std::string& logPath);
    bool CheckLogfile(AuditionEntry& entry);
    bool CheckNet(AuditionEntry& entry);
    bool CheckPlugin(AuditionEntry& entry);
    void ReportError(AuditionEntry& entry);
    void MarkStoredLine(const AuditionEntry& entry, bool stored);

    IAuditionHost& m_host;
    CAuditionList& m_auditions;
    CAgentExchange& m_agents;
    IPinger& m_pinger;
    CEvent& m_stopEvent;
    const AuditThreadOptions m_options;
    // The agent log holding the line of the signal being stored, kept open
    // and locked until the signal is stored and the line can be marked.
    std::unique_ptr<LMLogFile> m_signalLog;
    int32_t m_nSignalLine = 0;
    std::atomic<uint64_t> m_nPasses{0};
    CWorkerThread m_worker; // last: its thread uses every member above
};
