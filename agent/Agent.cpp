#include "Agent.h"

#include <chrono>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

namespace {

// How often the installed services are listed again in "Servicelist".
constexpr std::time_t kInventoryPeriod = 3600;
constexpr size_t kJournalEntriesPerRound = 1000;

std::vector<std::string> Modules(const AgentConfig& config) {
    std::vector<std::string> modules;
    for (const WatchedApp& app : config.Apps)
        modules.push_back(app.Module);
    return modules;
}

uint64_t NowUsec() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::system_clock::now().time_since_epoch())
                                     .count());
}

} // namespace

CAgent::CAgent(AgentConfig config, const CAgentLog& log)
    : m_config(std::move(config)), m_log(log), m_processes(Modules(m_config)),
      m_units(m_config.Services),
      m_budget(m_config.RestartLimit,
               std::chrono::duration_cast<std::chrono::seconds>(m_config.RestartWindow)) {}

CAgent::~CAgent() = default;

bool CAgent::Start() {
    m_data = CDataDirectory::Open(m_config.DataDirectory);
    if (m_data)
        m_exchange = m_data->OpenSubdirectory(m_config.Computer);
    if (!m_exchange) {
        m_log.Error("the exchange directory " + m_config.DataDirectory + m_config.Computer +
                    "/ cannot be opened or created");
        return false;
    }
    m_contract = std::make_unique<CContractFiles>(*m_data, *m_exchange, m_config.Computer);
    m_errorLog =
        std::make_unique<CErrorLogFile>(*m_exchange, m_config.Computer, m_config.MaxLogSize);
    if (!m_errorLog->EnsureExists())
        m_log.Error("the agent log " + m_exchange->Path() + m_errorLog->FileName() +
                    " cannot be created");
    m_state = LoadAgentState(m_config.StateFile);
    m_strStartDate = TimeStampText(std::time(nullptr));
    m_nComputerStart = ComputerStartTime();
    StartWatchers();
    m_executor = std::make_unique<CCommandExecutor>(m_config, *m_exchange, *m_contract, *m_errorLog,
                                                    m_processes, m_units, m_budget, m_log);
    m_executor->SetBeforeReboot([this] { WriteInformation(true); });
    AnnounceWatchLists();
    WriteInformation(true);
    return true;
}

void CAgent::StartWatchers() {
    m_processes.SetRunningModules(m_state.RunningApps);
    m_budget.SetHistory(m_state.Restarts);
    std::string busReason, journalReason;
    const bool units = m_units.Connect(busReason);
    if (units)
        m_units.SetLastStates(m_state.Units);
    if (m_config.WatchJournal)
        m_bJournalOpen = OpenJournal(journalReason);
    if (!units && !m_bJournalOpen)
        m_log.Warning("services and the journal are not watched here (" + busReason + ")");
    else if (!units)
        m_log.Warning("services are not watched here (" + busReason + ")");
    else if (m_config.WatchJournal && !m_bJournalOpen)
        m_log.Warning("the journal is not watched here (" + journalReason + ")");
}

bool CAgent::OpenJournal(std::string& reason) {
    struct stat info {};
    if (m_config.JournalDirectory.empty() && ::stat("/run/log/journal", &info) != 0 &&
        ::stat("/var/log/journal", &info) != 0) {
        reason = "this computer keeps no journal";
        return false;
    }
    if (!m_journal.Open(m_config.JournalDirectory, m_config.JournalIdentifiers, reason))
        return false;
    if (m_state.JournalCursor.empty() && m_state.JournalSinceUsec == 0)
        m_state.JournalSinceUsec = NowUsec(); // the first start reads from now on
    m_journal.SetPosition(m_state.JournalCursor, m_state.JournalSinceUsec);
    return true;
}

// The installed services are listed again now and then; the rest of the
// section is checked every round, so that an agent whose section someone
// else dropped (a stand-in agent rewriting the file) is listed again soon.
void CAgent::AnnounceWatchLists() {
    const std::time_t now = std::time(nullptr);
    if (now >= m_nNextInventory) {
        m_lists.Services.clear();
        for (const std::string& unit : m_config.Services)
            m_lists.Services.push_back({unit, m_units.Description(unit)});
        m_lists.Apps = Modules(m_config);
        m_lists.Installed = m_units.InstalledServices();
        m_nNextInventory = now + kInventoryPeriod;
    }
    if (!m_contract->UpdateGlobalConfig(m_lists))
        m_log.Error("TARN.CFG in " + m_data->Path() + " cannot be updated");
}

void CAgent::WriteInformation(bool running) {
    if (!m_contract->WriteInformation(running ? m_strStartDate : "", std::time(nullptr),
                                      m_nComputerStart))
        m_log.Error("the information file " + m_exchange->Path() +
                    m_contract->InformationFileName() + " cannot be written");
}

void CAgent::Collect(std::vector<ErrorLine> lines) {
    for (const ErrorLine& line : lines) {
        m_log.Info("found: " + line.Description);
        m_errorLog->Add(line);
    }
}

void CAgent::Round() {
    const std::time_t now = std::time(nullptr);
    Collect(m_processes.Scan(now));
    m_units.Refresh(now);
    Collect(m_units.TakeLines());
    if (m_bJournalOpen)
        for (const ErrorLine& line : m_journal.ReadNew(kJournalEntriesPerRound))
            m_errorLog->Add(line); // not logged again: they come from the journal
    m_executor->RunCommandFiles(now);
    m_units.Process(); // jobs that ended at once
    m_executor->CheckPending(now);
    if (!m_errorLog->Flush())
        m_log.Warning("the agent log is held by someone else; its lines wait for the next round");
    AnnounceWatchLists();
    WriteInformation(true);
    if (!m_errorLog->Trim())
        m_log.Warning("the agent log cannot be trimmed");
    SaveState();
}

void CAgent::SaveState() {
    // The journal position moves on only once its lines are in the agent log.
    if (m_bJournalOpen && !m_errorLog->HasQueuedLines())
        m_state.JournalCursor = m_journal.Cursor();
    m_state.Units = m_units.LastStates();
    m_state.RunningApps = m_processes.RunningModules();
    m_state.Restarts = m_budget.History();
    // Written only when something changed: rounds are frequent.
    const std::string text = AgentStateText(m_state);
    if (text == m_strSavedState)
        return;
    if (SaveAgentState(m_config.StateFile, text))
        m_strSavedState = text;
    else
        m_log.Warning("the state file " + m_config.StateFile + " cannot be written");
}

bool CAgent::WaitForNextRound(int signalFd) {
    const auto deadline = std::chrono::steady_clock::now() + m_config.Interval;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return true;
        pollfd fds[2] = {{signalFd, POLLIN, 0}, {-1, 0, 0}};
        if (m_units.IsConnected()) {
            fds[1].fd = sd_bus_get_fd(m_units.Bus());
            fds[1].events = static_cast<short>(sd_bus_get_events(m_units.Bus()));
        }
        ::poll(fds, 2, static_cast<int>(left.count()));
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            [[maybe_unused]] ssize_t ignored = ::read(signalFd, &info, sizeof info);
            return false;
        }
        if (fds[1].revents != 0) {
            m_units.Process();
            Collect(m_units.TakeLines());
            m_executor->CheckPending(std::time(nullptr));
            m_errorLog->Flush();
        }
    }
}

void CAgent::Stop() {
    m_errorLog->Flush();
    WriteInformation(false);
    SaveState();
}
