#include "AgentConfig.h"

#include "AppPaths.h"
#include "IniFile.h"
#include "TextEncoding.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kAgent = "Agent";

struct ConfigReader {
    const CIniFile& ini;
    std::string& error;

    std::string Text(const char* section, const char* key, std::string fallback = {}) const {
        std::string value = ini.GetString(section, key);
        return value.empty() ? fallback : value;
    }

    bool Number(const char* section, const char* key, long low, long high, long& value) const {
        std::string text = ini.GetString(section, key);
        if (text.empty())
            return true;
        char* end = nullptr;
        errno = 0;
        long parsed = std::strtol(text.c_str(), &end, 10);
        if (errno != 0 || *end != '\0' || parsed < low || parsed > high) {
            error = std::string("[") + section + "] " + key + "=" + text +
                    ": expected a number from " + std::to_string(low) + " to " +
                    std::to_string(high);
            return false;
        }
        value = parsed;
        return true;
    }

    bool Flag(const char* section, const char* key, bool& value) const {
        std::string text = ini.GetString(section, key);
        if (text.empty())
            return true;
        for (const char* yes : {"yes", "true", "on", "1"})
            if (EqualsNoCase(text, yes))
                return value = true;
        for (const char* no : {"no", "false", "off", "0"})
            if (EqualsNoCase(text, no)) {
                value = false;
                return true;
            }
        error = std::string("[") + section + "] " + key + "=" + text + ": expected yes or no";
        return false;
    }
};

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

// The name becomes a directory in the shared data directory and a section of
// "TARN.CFG": nothing that could leave the directory or break a line.
bool IsUsableComputerName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/;[]=\r\n\0", 9)) == std::string::npos &&
           TrimBlanks(name) == name;
}

// Names go into ";"-separated fields of "TARN.CFG" and the agent log.
bool IsUsableField(const std::string& text) {
    return !text.empty() && text.find_first_of(std::string(";\r\n\0", 4)) == std::string::npos;
}

bool ReadWatchLists(const CIniFile& ini, AgentConfig& config, std::string& error) {
    for (const std::string& item : ini.GetList("Services", "Service")) {
        if (!IsUsableField(item)) {
            error = "[Services] " + item + ": a unit name must not contain \";\"";
            return false;
        }
        config.Services.push_back(NormalizeUnitName(item));
    }
    for (const std::string& item : ini.GetList("Apps", "App")) {
        size_t separator = item.find(';');
        WatchedApp app{item.substr(0, separator),
                       separator == std::string::npos ? "" : item.substr(separator + 1)};
        if (!IsUsableField(app.Module) || app.Module.find('/') != std::string::npos) {
            error = "[Apps] " + item + ": expected \"module\" or \"module;program\"";
            return false;
        }
        config.Apps.push_back(std::move(app));
    }
    config.JournalIdentifiers = ini.GetList("Journal", "Identifier");
    return true;
}

bool ReadNumbers(const ConfigReader& read, AgentConfig& config) {
    long interval = config.Interval.count(), maxLog = static_cast<long>(config.MaxLogSize),
         limit = config.RestartLimit, window = config.RestartWindow.count(),
         grace = config.StopGrace.count(), jobTimeout = config.JobTimeout.count();
    if (!read.Number(kAgent, "Interval", 1, 3600, interval) ||
        !read.Number(kAgent, "MaxLogSize", 4096, 1L << 30, maxLog) ||
        !read.Number(kAgent, "RestartLimit", 0, 1000, limit) ||
        !read.Number(kAgent, "RestartWindow", 1, 7 * 24 * 60, window) ||
        !read.Number(kAgent, "StopGrace", 1, 600, grace) ||
        !read.Number(kAgent, "JobTimeout", 1, 3600, jobTimeout))
        return false;
    config.Interval = std::chrono::seconds(interval);
    config.MaxLogSize = static_cast<size_t>(maxLog);
    config.RestartLimit = static_cast<int>(limit);
    config.RestartWindow = std::chrono::minutes(window);
    config.StopGrace = std::chrono::seconds(grace);
    config.JobTimeout = std::chrono::seconds(jobTimeout);
    return true;
}

} // namespace

std::string NormalizeUnitName(const std::string& name) {
    for (const char* suffix : {".service", ".socket", ".target", ".timer", ".mount", ".path",
                               ".scope", ".slice", ".swap", ".device", ".automount"}) {
        const std::string tail(suffix);
        if (name.size() > tail.size() &&
            name.compare(name.size() - tail.size(), tail.size(), tail) == 0)
            return name;
    }
    return name + ".service";
}

const WatchedApp* AgentConfig::FindApp(const std::string& module) const {
    for (const WatchedApp& app : Apps)
        if (app.Module == module)
            return &app;
    return nullptr;
}

bool AgentConfig::WatchesService(const std::string& unit) const {
    for (const std::string& service : Services)
        if (service == unit)
            return true;
    return false;
}

std::optional<AgentConfig> LoadAgentConfig(const std::string& path, std::string& error) {
    CIniFile ini = CIniFile::Load(path);
    if (!ini.Exists()) {
        error = path + ": the configuration file cannot be read";
        return std::nullopt;
    }
    ConfigReader read{ini, error};
    AgentConfig config;
    config.Computer = read.Text(kAgent, "Computer", HostName());
    if (!IsUsableComputerName(config.Computer)) {
        error =
            "[Agent] Computer=" + config.Computer + ": not usable as a directory and section name";
        return std::nullopt;
    }
    std::string data = read.Text(kAgent, "DataDirectory");
    struct stat info {};
    if (data.empty() || ::stat(data.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = "[Agent] DataDirectory=" + data + ": not an existing directory";
        return std::nullopt;
    }
    config.DataDirectory = WithTrailingSeparator(data);
    config.StateFile = read.Text(kAgent, "StateFile", kDefaultStateFile);
    config.JournalDirectory = read.Text("Journal", "Directory");
    if (!read.Flag(kAgent, "AllowSystemRestart", config.AllowSystemRestart) ||
        !read.Flag("Journal", "Watch", config.WatchJournal) || !ReadNumbers(read, config) ||
        !ReadWatchLists(ini, config, error))
        return std::nullopt;
    return config;
}
