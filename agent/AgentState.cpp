#include "AgentState.h"

#include "IniFile.h"

#include <sstream>

namespace {

// Lines of "<name>=<value>" in a section; names with "=" cannot be keys.
std::map<std::string, std::string> SectionValues(const CIniFile& ini, const char* section) {
    std::map<std::string, std::string> values;
    for (const std::string& item : ini.GetList(section, "Entry")) {
        size_t equals = item.rfind('=');
        if (equals != std::string::npos)
            values[item.substr(0, equals)] = item.substr(equals + 1);
    }
    return values;
}

void SetSection(CIniFile& ini, const char* section,
                const std::map<std::string, std::string>& values) {
    size_t number = 1;
    for (const auto& [name, value] : values)
        if (ini.SetValue(section, "Entry" + std::to_string(number), name + "=" + value))
            ++number;
}

} // namespace

AgentState LoadAgentState(const std::string& path) {
    CIniFile ini = CIniFile::Load(path);
    AgentState state;
    state.JournalCursor = ini.GetString("Journal", "Cursor");
    state.JournalSinceUsec = std::strtoull(ini.GetString("Journal", "Since").c_str(), nullptr, 10);
    state.Units = SectionValues(ini, "Units");
    for (const auto& [module, running] : SectionValues(ini, "Apps"))
        if (running == "running")
            state.RunningApps.insert(module);
    for (const auto& [target, times] : SectionValues(ini, "Restarts")) {
        std::istringstream list(times);
        long long when = 0;
        while (list >> when)
            state.Restarts[target].push_back(static_cast<std::time_t>(when));
    }
    return state;
}

std::string AgentStateText(const AgentState& state) {
    CIniFile ini = CIniFile::Parse("");
    ini.SetValue("Journal", "Cursor", state.JournalCursor);
    ini.SetValue("Journal", "Since", std::to_string(state.JournalSinceUsec));
    SetSection(ini, "Units", state.Units);
    std::map<std::string, std::string> apps;
    for (const std::string& module : state.RunningApps)
        apps[module] = "running";
    SetSection(ini, "Apps", apps);
    std::map<std::string, std::string> restarts;
    for (const auto& [target, times] : state.Restarts) {
        std::string list;
        for (std::time_t when : times)
            list += (list.empty() ? "" : " ") + std::to_string(when);
        if (!list.empty())
            restarts[target] = list;
    }
    SetSection(ini, "Restarts", restarts);
    return ini.ToText();
}

bool SaveAgentState(const std::string& path, const std::string& text) {
    return CIniFile::Parse(text, path).Save();
}
