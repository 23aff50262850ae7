#include "ProcessWatcher.h"

#include "FileIo.h"

#include <cctype>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr size_t kMaxCommandLine = 64 * 1024;

bool IsNumber(const char* text) {
    if (*text == '\0')
        return false;
    for (; *text != '\0'; ++text)
        if (!std::isdigit(static_cast<unsigned char>(*text)))
            return false;
    return true;
}

std::vector<std::string> ProcessIds(const std::string& procRoot) {
    std::vector<std::string> ids;
    DIR* dir = ::opendir(procRoot.c_str());
    if (dir == nullptr)
        return ids;
    while (const dirent* entry = ::readdir(dir))
        if (IsNumber(entry->d_name))
            ids.emplace_back(entry->d_name);
    ::closedir(dir);
    return ids;
}

} // namespace

std::string BaseName(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

CProcessWatcher::CProcessWatcher(std::vector<std::string> modules, std::string procRoot)
    : m_modules(std::move(modules)), m_procRoot(std::move(procRoot)) {}

bool CProcessWatcher::ReadProcess(const std::string& pid, ProcessName& name) const {
    const std::string dir = m_procRoot + "/" + pid;
    char target[4096];
    ssize_t length = ::readlink((dir + "/exe").c_str(), target, sizeof target - 1);
    if (length > 0) {
        name.exePath.assign(target, static_cast<size_t>(length));
        const std::string deleted = " (deleted)"; // the file was replaced, e.g. by an update
        if (name.exePath.size() > deleted.size() &&
            name.exePath.compare(name.exePath.size() - deleted.size(), deleted.size(), deleted) ==
                0)
            name.exePath.resize(name.exePath.size() - deleted.size());
        name.exeName = BaseName(name.exePath);
    }
    int fd = ::open((dir + "/cmdline").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        std::string commandLine;
        ReadAll(fd, commandLine, kMaxCommandLine);
        ::close(fd);
        name.commandName = BaseName(commandLine.substr(0, commandLine.find('\0')));
    }
    return !name.exeName.empty() || !name.commandName.empty();
}

bool CProcessWatcher::Matches(const ProcessName& name, const std::string& module) const {
    return name.exeName == module || name.commandName == module;
}

std::vector<ErrorLine> CProcessWatcher::Scan(std::time_t now) {
    std::set<std::string> running;
    for (const std::string& pid : ProcessIds(m_procRoot)) {
        ProcessName name;
        if (!ReadProcess(pid, name))
            continue;
        for (const std::string& module : m_modules)
            if (Matches(name, module)) {
                running.insert(module);
                if (!name.exePath.empty())
                    m_lastProgram[module] = name.exePath;
            }
    }
    std::vector<ErrorLine> lines;
    for (const std::string& module : m_modules) {
        const bool wasRunning = m_running.count(module) != 0;
        const bool isRunning = running.count(module) != 0;
        if (wasRunning && !isRunning && m_expectedStops.erase(module) == 0) {
            ErrorLine line;
            line.When = now;
            line.Module = module;
            line.Category = kCategoryApplication;
            line.Description = "Die Anwendung " + module + " wurde beendet";
            lines.push_back(std::move(line));
        }
        if (isRunning)
            m_expectedStops.erase(module);
    }
    m_running = std::move(running);
    return lines;
}

std::vector<pid_t> CProcessWatcher::FindProcesses(const std::string& module) const {
    std::vector<pid_t> pids;
    for (const std::string& pid : ProcessIds(m_procRoot)) {
        ProcessName name;
        if (ReadProcess(pid, name) && Matches(name, module))
            pids.push_back(static_cast<pid_t>(std::stol(pid)));
    }
    return pids;
}

std::string CProcessWatcher::LastProgram(const std::string& module) const {
    auto found = m_lastProgram.find(module);
    return found == m_lastProgram.end() ? std::string() : found->second;
}
