#include "CommandExecutor.h"

#include "IniFile.h"
#include "SystemRestart.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr size_t kMaxCommandFile = 64 * 1024;
constexpr auto kStopPoll = std::chrono::milliseconds(100);

std::string Code(CommandResult result) {
    return std::to_string(static_cast<int>(result));
}

bool AllGone(const std::vector<pid_t>& pids) {
    for (pid_t pid : pids)
        if (::kill(pid, 0) == 0)
            return false;
    return true;
}

// Waits until every process has ended (or is a zombie nobody reaps).
bool WaitGone(CProcessWatcher& processes, const std::string& module, std::chrono::seconds grace) {
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (std::chrono::steady_clock::now() < deadline) {
        if (processes.FindProcesses(module).empty())
            return true;
        std::this_thread::sleep_for(kStopPoll);
    }
    return processes.FindProcesses(module).empty();
}

} // namespace

extern char** environ;

std::string CommandFileNumber(const std::string& name) {
    if (name.size() != 11 || name.compare(0, 4, "TARN") != 0 || name.compare(7, 4, ".TRA") != 0)
        return {};
    for (size_t i = 4; i < 7; ++i)
        if (name[i] < '0' || name[i] > '9')
            return {};
    return name.substr(4, 3);
}

std::vector<std::string> SplitParameters(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

CCommandExecutor::CCommandExecutor(const AgentConfig& config, const CDataDirectory& exchange,
                                   const CContractFiles& contract, CErrorLogFile& log,
                                   CProcessWatcher& processes, CUnitWatcher& units,
                                   CRestartBudget& budget, const CAgentLog& agentLog)
    : m_config(config), m_exchange(exchange), m_contract(contract), m_log(log),
      m_processes(processes), m_units(units), m_budget(budget), m_agentLog(agentLog) {
    m_units.SetJobHandler(
        [this](const std::string& job, const std::string& result) { OnJobRemoved(job, result); });
}

void CCommandExecutor::RunCommandFiles(std::time_t now) {
    std::vector<std::pair<std::time_t, std::string>> files;
    for (const std::string& name : m_exchange.List()) {
        struct stat info {};
        if (!CommandFileNumber(name).empty() &&
            ::fstatat(m_exchange.Fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
            files.emplace_back(info.st_mtime, name);
    }
    std::sort(files.begin(), files.end());
    for (const auto& [when, name] : files) {
        std::string content;
        const bool read = m_exchange.ReadFile(name, kMaxCommandFile, content, true);
        m_exchange.Remove(name);
        const std::string number = CommandFileNumber(name);
        if (!read) {
            Answer(number, CommandResult::UnknownCommand,
                   name + " is no regular file of a trusted owner, or too large");
            continue;
        }
        Execute(number, CIniFile::Parse(content).GetString("Commands", "Command1"), now);
    }
}

void CCommandExecutor::Execute(const std::string& number, const std::string& commandLine,
                               std::time_t now) {
    const size_t first = commandLine.find(';');
    const size_t second = first == std::string::npos ? first : commandLine.find(';', first + 1);
    const std::string word = commandLine.substr(0, first);
    const std::string target =
        first == std::string::npos ? "" : commandLine.substr(first + 1, second - first - 1);
    const std::string parameters =
        second == std::string::npos ? "" : commandLine.substr(second + 1);
    m_agentLog.Info("command " + number + ": " + commandLine);
    m_strReason.clear();
    CommandResult result = CommandResult::UnknownCommand;
    if (word == "START_SERVICE" || word == "STOP_SERVICE") {
        result = RunService(number, word, target, now);
        if (result == CommandResult::Success)
            return; // answered when the job ends
    } else if (word == "START_APP" || word == "STOP_APP") {
        if (m_config.FindApp(target) == nullptr)
            result = CommandResult::NotWatched;
        else if (word == "STOP_APP")
            result = StopApp(target);
        else if (!TakeBudget(target, kCategoryApplication, now))
            result = CommandResult::BudgetSpent;
        else
            result = StartApp(target, parameters);
    } else if (word == "SHUTDOWN_SYSTEM") {
        result = RestartSystem();
    }
    Answer(number, result, m_strReason.empty() ? commandLine : m_strReason);
}

void CCommandExecutor::Answer(const std::string& number, CommandResult result,
                              const std::string& reason) {
    if (result != CommandResult::Success)
        m_agentLog.Warning("command " + number + " failed with " + Code(result) + ": " + reason);
    if (!m_contract.WriteResult(number, Code(result)))
        m_agentLog.Error("the result file TARN" + number + ".RLT cannot be written");
}

bool CCommandExecutor::TakeBudget(const std::string& target, int category, std::time_t now) {
    if (m_budget.TryTake(target, now))
        return true;
    const std::string text = "Neustart von " + target +
                             " abgelehnt: " + std::to_string(m_budget.Limit()) + " Neustarts in " +
                             std::to_string(m_budget.Window().count() / 60) +
                             " Minuten sind aufgebraucht";
    ErrorLine line;
    line.When = now;
    line.Category = category;
    (category == kCategoryService ? line.SourceName : line.Module) = target;
    line.Description = text;
    m_log.Add(line);
    m_strReason = text;
    return false;
}

CommandResult CCommandExecutor::RunService(const std::string& number, const std::string& word,
                                           const std::string& unit, std::time_t now) {
    if (!m_config.WatchesService(unit))
        return CommandResult::NotWatched;
    if (!m_units.IsConnected())
        return CommandResult::NoSystemd;
    const char* method = "StopUnit";
    if (word == "START_SERVICE") {
        if (!TakeBudget(unit, kCategoryService, now))
            return CommandResult::BudgetSpent;
        const std::string active = m_units.ActiveState(unit);
        method = active == "active" || active == "reloading" ? "RestartUnit" : "StartUnit";
    } else {
        m_units.ExpectStop(unit);
    }
    std::string job, error;
    if (!m_units.StartJob(method, unit, job, error)) {
        m_strReason = std::string(method) + " " + unit + ": " + error;
        return CommandResult::Refused;
    }
    m_jobs[job] = {number, unit, now + static_cast<std::time_t>(m_config.JobTimeout.count())};
    return CommandResult::Success;
}

void CCommandExecutor::OnJobRemoved(const std::string& job, const std::string& result) {
    auto found = m_jobs.find(job);
    if (found == m_jobs.end())
        return;
    const PendingJob pending = found->second;
    m_jobs.erase(found);
    if (result == "done")
        Answer(pending.Number, CommandResult::Success, {});
    else
        Answer(pending.Number, CommandResult::JobFailed,
               "the job of " + pending.Unit + " ended with \"" + result + "\"");
}

void CCommandExecutor::CheckPending(std::time_t now) {
    for (auto job = m_jobs.begin(); job != m_jobs.end();) {
        if (job->second.Deadline > now) {
            ++job;
            continue;
        }
        Answer(job->second.Number, CommandResult::JobTimeout,
               "the job of " + job->second.Unit + " did not end in time");
        job = m_jobs.erase(job);
    }
    ReapChildren();
}

void CCommandExecutor::ReapChildren() {
    for (auto child = m_children.begin(); child != m_children.end();) {
        if (::waitpid(*child, nullptr, WNOHANG) != 0)
            child = m_children.erase(child);
        else
            ++child;
    }
}

CommandResult CCommandExecutor::StartApp(const std::string& module, const std::string& parameters) {
    if (!m_processes.FindProcesses(module).empty()) {
        CommandResult stopped = StopApp(module); // starting a running application restarts it
        if (stopped != CommandResult::Success)
            return stopped;
    }
    std::string program = m_config.FindApp(module)->Program;
    if (program.empty())
        program = m_processes.LastProgram(module);
    if (program.empty())
        program = module; // looked up in PATH
    std::vector<std::string> words = SplitParameters(parameters);
    words.insert(words.begin(), program);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigfillset(&defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    for (int fd = 0; fd <= 2; ++fd)
        posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    pid_t pid = -1;
    int error = posix_spawnp(&pid, program.c_str(), &files, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        m_strReason = program + " cannot be started: " + std::strerror(error);
        return CommandResult::StartFailed;
    }
    m_children.insert(pid);
    return CommandResult::Success;
}

CommandResult CCommandExecutor::StopApp(const std::string& module) {
    std::vector<pid_t> pids = m_processes.FindProcesses(module);
    if (pids.empty())
        return CommandResult::Success;
    m_processes.ExpectStop(module);
    for (pid_t pid : pids)
        ::kill(pid, SIGTERM);
    ReapChildren();
    if (!WaitGone(m_processes, module, m_config.StopGrace)) {
        for (pid_t pid : m_processes.FindProcesses(module))
            ::kill(pid, SIGKILL);
        if (!WaitGone(m_processes, module, std::chrono::seconds(2)) && !AllGone(pids)) {
            m_strReason = module + " did not end after KILL";
            return CommandResult::StopFailed;
        }
    }
    return CommandResult::Success;
}

CommandResult CCommandExecutor::RestartSystem() {
    if (!m_config.AllowSystemRestart) {
        m_strReason = "system restarts are not allowed ([Agent] AllowSystemRestart)";
        return CommandResult::NotAllowed;
    }
    if (!m_units.IsConnected())
        return CommandResult::NoSystemd;
    if (m_beforeReboot)
        m_beforeReboot();
    std::string error;
    if (!CSystemRestart(m_units.Bus()).Reboot(error)) {
        m_strReason = "logind refused the restart: " + error;
        return CommandResult::Refused;
    }
    m_agentLog.Info("the computer restarts");
    return CommandResult::Success;
}
