#include "AuditThread.h"

#include "AgentLogAudition.h"
#include "AuditionClaim.h"
#include "AuditionComputer.h"
#include "AuditionReadiness.h"
#include "LUTool.h"
#include "LogfileAudition.h"
#include "MessageIds.h"
#include "MessageText.h"
#include "NetAudition.h"
#include "StringTable.h"
#include "TARNTool.h"
#include "TextEncoding.h"
#include "tarn/TarnPlugin.h"

namespace {

constexpr const char* kThreadName = "tarn-audit";

// History descriptions keep at most this many characters.
constexpr size_t kMaxDescriptionCharacters = 254;

AuditionType TypeOf(const DBAudition& audition) {
    return static_cast<AuditionType>(audition.AUDITION_TYPE);
}

DBHEvent SignalFromLogEntry(const AgentLogEntry& line) {
    DBHEvent signal;
    signal.EVENT_ID = line.EventID;
    signal.DATE = line.Date;
    signal.COMPUTER = line.Computer;
    signal.SOURCE = line.Source;
    signal.SOURCE_NAME = line.SourceName;
    signal.SOURCE_MODULE_NAME = line.SourceModuleName;
    signal.TYPE = line.Type;
    signal.CATEGORY = line.Category;
    signal.INFO_ID = line.InfoID;
    signal.EVENT_DESCRIPTION = line.EventDescription;
    return signal;
}

DBHEvent PluginSignal(const DBAuditionPlugin& settings, const PluginCheckResult& result) {
    DBHEvent signal;
    signal.SOURCE = EVENT_SOURCE_CONSOLE;
    signal.TYPE = EVENT_TYPE_ERROR;
    signal.CATEGORY = EVENT_CATEGORY_PLUGIN;
    signal.SOURCE_MODULE_NAME = settings.PLUGIN_NAME;
    signal.COMPUTER = settings.SERVER_PATH;
    signal.INFO_ID = result.InfoId;
    signal.EVENT_DESCRIPTION = result.Description;
    return signal;
}

} // namespace

CAuditThread::CAuditThread(IAuditionHost& host, CAuditionList& auditions, CAgentExchange& agents,
                           IPinger& pinger, CEvent& stopEvent, AuditThreadOptions options)
    : m_host(host), m_auditions(auditions), m_agents(agents), m_pinger(pinger),
      m_stopEvent(stopEvent), m_options(std::move(options)),
      m_worker(
          kThreadName, stopEvent, m_options.Period, [this] { RunPass(); },
          [this] { StopAllAuditions(); }) {}

void CAuditThread::Start() {
    m_worker.Start();
}

void CAuditThread::RunPass() {
    m_host.BeginPass();
    for (int nIndex = 0;; ++nIndex) {
        CAuditionClaim claim = CAuditionClaim::AtIndex(m_auditions, nIndex);
        if (!claim)
            break;
        CWorkerThread::RunGuarded(kThreadName, [&] { HandleEntry(claim.Entry()); });
    }
    m_host.EndPass();
    m_agents.CheckAgentLiveness();
    ++m_nPasses;
}

// Runs while the entry is claimed: nobody else changes it, so its run state
// is written back whole.
void CAuditThread::HandleEntry(AuditionEntry& entry) {
    m_agents.RegisterAgentComputer(entry);
    m_host.CheckOpenProblems(entry);
    if (CheckEntry(entry))
        ReportError(entry);
    else
        WriteRunState(entry);
}

void CAuditThread::WriteRunState(const AuditionEntry& entry) {
    CAuditionListLock lock(m_auditions);
    m_auditions.UpdateRunState(entry);
}

void CAuditThread::ReportError(AuditionEntry& entry) {
    const std::time_t now = m_options.Now();
    entry.LastErrorTime = now;
    entry.Signal.DATE = FormatTimeStamp(now);
    entry.Signal.EVENT_DESCRIPTION =
        CutToCharacters(entry.Signal.EVENT_DESCRIPTION, kMaxDescriptionCharacters);
    AddAuditionEventLine(entry, EVENT_VIEW_ERROR, LoadTarnString(IDS_ERRORS_SIGNALLED));
    WriteRunState(entry);
    MarkStoredLine(entry, m_host.OnAuditionError(entry));
}

// An agent's line is marked only once its signal is stored: on a full disk
// it stays unmarked and the next pass takes it again, so nothing is lost.
void CAuditThread::MarkStoredLine(const AuditionEntry& entry, bool stored) {
    std::unique_ptr<LMLogFile> log = std::move(m_signalLog);
    if (stored && (!log || log->MarkProcessed(m_nSignalLine)))
        return;
    AddAuditionEventLine(entry, EVENT_VIEW_ERROR, LoadTarnString(IDS_SIGNAL_NOT_STORED));
}

void CAuditThread::StopAllAuditions() {
    for (int nIndex = 0;; ++nIndex) {
        CAuditionClaim claim = CAuditionClaim::AtIndex(m_auditions, nIndex);
        if (!claim)
            break;
        StopAudition(claim.Entry(), true);
        claim.WriteBackRunState();
    }
}

void CAuditThread::StartAudition(AuditionEntry& entry) {
    if (entry.Running)
        return;
    const std::string reason =
        AuditionCannotRunReason(entry.Definition, entry.PluginInstance != nullptr);
    if (!reason.empty()) {
        if (reason != entry.ReportedCannotRun)
            AddAuditionEventLine(entry, EVENT_VIEW_ERROR, AuditionCannotRunLine(reason));
        entry.ReportedCannotRun = reason;
        return;
    }
    entry.ReportedCannotRun.clear();
    entry.Running = true;
    entry.FirstCheck = true;
    entry.Paused = false;
    entry.AgentPerforms = true;
    entry.PingFailures = 0;
    AddAuditionEventLine(entry, EVENT_VIEW_INFO, LoadTarnString(IDS_AUDITION_STARTED));
}

void CAuditThread::StopAudition(AuditionEntry& entry, bool silent) {
    if (!entry.Running)
        return;
    entry.Running = false;
    if (TypeOf(entry.Definition) == AuditionType::Plugin && entry.PluginInstance)
        entry.PluginInstance->Stop();
    if (!silent)
        AddAuditionEventLine(entry, EVENT_VIEW_INFO, LoadTarnString(IDS_AUDITION_STOPPED));
}

void CAuditThread::AddAuditionEventLine(const AuditionEntry& entry, int kind,
                                        const std::string& text) {
    const DBAudition& audition = entry.Definition;
    // An unknown type has been reported by the check already; its line names no computer.
    m_host.AddEventViewLine(kind, AuditionComputerOf(audition), audition.NAME, text);
}

bool CAuditThread::IsDue(const AuditionEntry& entry) const {
    return entry.Running && !entry.Paused &&
           IsInActiveWindowAt(entry.Definition.ACTIVE_BEGIN, entry.Definition.ACTIVE_END,
                              m_options.Now());
}

bool CAuditThread::CheckEntry(AuditionEntry& entry) {
    if (!IsDue(entry))
        return false;
    m_agents.CheckAgentPerforms(entry);
    switch (TypeOf(entry.Definition)) {
    case AuditionType::App:
    case AuditionType::Service:
    case AuditionType::NTEvtLog:
        return CheckAgentLogAudition(entry);
    case AuditionType::Logfile:
        return CheckLogfile(entry);
    case AuditionType::Net:
        return CheckNet(entry);
    case AuditionType::Plugin:
        return CheckPlugin(entry);
    default:
        TARN_ASSERT_FAIL("Unbekannter Überwachungstyp");
        return false;
    }
}

// The agent computer of an agent audition is its SERVER_PATH.
bool CAuditThread::PassesAgentGate(const AuditionEntry& entry) {
    if (!entry.AgentPerforms)
        return false;
    const std::string& name = entry.Definition.AgentComputer;
    if (name.empty())
        return true; // no record to ask; the log file cannot be found and says so
    const AgentComputer computer = m_agents.GetAgentComputer(name);
    return computer.Alive && !computer.RestartPending;
}

bool CAuditThread::CheckAgentLogAudition(AuditionEntry& entry) {
    if (!PassesAgentGate(entry))
        return false;
    const AgentComputer computer = m_agents.GetAgentComputer(entry.Definition.AgentComputer);
    const std::string& logPath = computer.LogFile;
    bool error = false;
    m_signalLog.reset();
    auto log = m_options.LogOpenSleep ? std::make_unique<LMLogFile>(m_options.LogOpenSleep)
                                      : std::make_unique<LMLogFile>();
    if (log->Open(logPath, computer.DataDirectory)) {
        error = FindMatchingLogEntry(entry, *log, logPath);
        if (error)
            m_signalLog = std::move(log);
    } else {
        AddAuditionEventLine(entry, EVENT_VIEW_ERROR,
                             FillMessage(LoadTarnString(IDS_WATCHED_FILE_MISSING), {logPath}));
        StopAudition(entry, false);
    }
    entry.FirstCheck = false;
    return error;
}

// Finds the first unprocessed line of the computer that belongs to the
// audition; the following ones are left for later passes. The line is marked
// once its signal is stored (the scan only takes lines that can be marked), so
// the resume point stays before it until then.
// The scan goes on where the audition's previous scan of the same log ended
// when the log is provably the same file there; else it starts at line 1.
bool CAuditThread::FindMatchingLogEntry(AuditionEntry& entry, LMLogFile& log,
                                        const std::string& logPath) {
    bool taken = false;
    AgentLogEntry line;
    std::string key = AgentLogScanKey(logPath, entry.Definition);
    const bool resumed = key == entry.AgentLogResumeKey && log.ResumeAt(entry.AgentLogResume);
    if (resumed || log.SeekToEntry(1)) {
        while (!taken && log.ReadNextEntry(entry.Definition.AgentComputer, line))
            taken = MatchAgentLogEntry(entry.Definition, line);
    }
    entry.AgentLogResume = log.GetResumePoint();
    entry.AgentLogResumeKey = std::move(key);
    if (taken) {
        entry.Signal = SignalFromLogEntry(line);
        m_nSignalLine = line.EventID;
    }
    ReportUnmarkableLine(entry, log.GetLastUnmarkableLine(), logPath);
    return taken;
}

// A line the scan skips because it cannot be marked is named once per
// audition, so that the operator can have the agent fixed.
void CAuditThread::ReportUnmarkableLine(AuditionEntry& entry, int32_t lineNumber,
                                        const std::string& logPath) {
    if (lineNumber == 0 || lineNumber == entry.ReportedUnmarkableLine)
        return;
    entry.ReportedUnmarkableLine = lineNumber;
    AddAuditionEventLine(entry, EVENT_VIEW_WARNING,
                         FillMessage(LoadTarnString(IDS_LINE_CANNOT_BE_MARKED),
                                     {std::to_string(lineNumber), logPath}));
}

bool CAuditThread::CheckLogfile(AuditionEntry& entry) {
    const DBAuditionLogfile& definition = entry.Definition.Logfile;
    const LogfileAuditionSettings settings{definition.LOGFILE, definition.CHECK_TYPE,
                                           definition.CHECK_INTERVAL};
    LogfileAuditionTiming timing{entry.FileTime, entry.NextFileCheck, entry.FirstCheck};
    const LogfileAuditionResult result = CheckLogfileAudition(settings, timing, m_options.Now());
    entry.FileTime = timing.FileTime;
    entry.NextFileCheck = timing.NextFileCheck;
    entry.FirstCheck = timing.FirstCheck;
    if (!result.ErrorEventLine.empty())
        AddAuditionEventLine(entry, EVENT_VIEW_ERROR, result.ErrorEventLine);
    if (result.StopAudition)
        StopAudition(entry, false);
    if (result.Error)
        entry.Signal = SignalFromLogEntry(result.Signal);
    return result.Error;
}

bool CAuditThread::CheckNet(AuditionEntry& entry) {
    const NetAuditionResult result = CheckNetAudition(entry, m_options.Now(), m_pinger);
    if (!result.ErrorEventLine.empty())
        AddAuditionEventLine(entry, EVENT_VIEW_ERROR, result.ErrorEventLine);
    if (result.StopAudition)
        StopAudition(entry, false);
    return result.Error;
}

bool CAuditThread::CheckPlugin(AuditionEntry& entry) {
    if (!entry.Definition.AgentComputer.empty() && !PassesAgentGate(entry))
        return false;
    if (!entry.PluginInstance) {
        StopAudition(entry, false);
        return false;
    }
    PluginCheckResult result;
    const bool error = entry.PluginInstance->Check(&result) == PLUGIN_CHECK_ERROR;
    entry.FirstCheck = false;
    if (error)
        entry.Signal = PluginSignal(entry.Definition.Plugin, result);
    return error;
}
