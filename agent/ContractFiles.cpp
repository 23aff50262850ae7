#include "ContractFiles.h"

#include "ErrorLine.h"
#include "FileIo.h"
#include "IniFile.h"

#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace {

constexpr const char* kGlobalConfig = "TARN.CFG";
// Ten seconds: another agent holds the lock only for one update.
constexpr int kLockAttempts = 100;
constexpr size_t kMaxGlobalConfig = 64u << 20;

// The three fields of a service entry; the console compares the first with an
// audition's SERVICE_MODULE and fills SERVICE_NAME from the second, so both
// carry the unit name.
std::string ServiceField(const ServiceEntry& entry) {
    std::string description = entry.Description;
    for (char& c : description)
        if (c == ';' || c == '\r' || c == '\n')
            c = ',';
    return entry.Unit + ";" + entry.Unit + ";" + description;
}

void ReplaceList(CIniFile& ini, const std::string& section, const std::string& name,
                 const std::vector<std::string>& values) {
    size_t number = 1;
    for (const std::string& value : values)
        if (!value.empty() && ini.SetValue(section, name + std::to_string(number), value))
            ++number;
    while (ini.RemoveKey(section, name + std::to_string(number)))
        ++number;
}

} // namespace

std::string ApplyWatchLists(const std::string& text, const std::string& computer,
                            const WatchLists& lists) {
    CIniFile ini = CIniFile::Parse(text);
    std::vector<std::string> servers = ini.GetList("Server", "Server");
    bool listed = false;
    for (const std::string& server : servers)
        listed = listed || server == computer;
    if (!listed)
        ini.SetValue("Server", "Server" + std::to_string(servers.size() + 1), computer);
    std::vector<std::string> services, installed;
    for (const ServiceEntry& entry : lists.Services)
        services.push_back(ServiceField(entry));
    for (const ServiceEntry& entry : lists.Installed)
        installed.push_back(ServiceField(entry));
    ReplaceList(ini, computer, "Service", services);
    ReplaceList(ini, computer, "App", lists.Apps);
    ReplaceList(ini, computer, "Servicelist", installed);
    return ini.ToText();
}

std::time_t ComputerStartTime() {
    std::ifstream stat("/proc/stat");
    std::string word;
    while (stat >> word)
        if (word == "btime") {
            long long seconds = 0;
            stat >> seconds;
            return static_cast<std::time_t>(seconds);
        }
    return 0;
}

CContractFiles::CContractFiles(const CDataDirectory& data, const CDataDirectory& exchange,
                               std::string computer)
    : m_data(data), m_exchange(exchange), m_strComputer(std::move(computer)) {}

bool CContractFiles::UpdateGlobalConfig(const WatchLists& lists) const {
    // The lock is on the file itself: whoever renames a new file over the name
    // still holds the old one locked, and a waiting agent that then finds the
    // name on another file starts again (OpenLocked).
    int fd = m_data.OpenLocked(kGlobalConfig, O_RDWR | O_CREAT, kLockAttempts);
    if (fd < 0)
        return false;
    std::string text;
    bool ok = ReadAll(fd, text, kMaxGlobalConfig);
    if (ok) {
        std::string changed = ApplyWatchLists(text, m_strComputer, lists);
        if (changed != text)
            ok = m_data.WriteAtomically(kGlobalConfig, changed, 0644);
    }
    ::close(fd);
    return ok;
}

bool CContractFiles::WriteInformation(const std::string& agentStart, std::time_t lastTouch,
                                      std::time_t computerStart) const {
    CIniFile ini = CIniFile::Parse("");
    ini.SetValue("Information", "TARNStartDate", agentStart);
    ini.SetValue("Information", "LastTouch", TimeStampText(lastTouch));
    ini.SetValue("Information", "ComputerStartDate",
                 computerStart != 0 ? TimeStampText(computerStart) : "");
    return m_exchange.WriteAtomically(InformationFileName(), ini.ToText(), 0644);
}

bool CContractFiles::WriteResult(const std::string& number, const std::string& code) const {
    CIniFile ini = CIniFile::Parse("");
    ini.SetValue("Results", "Result1", code);
    return m_exchange.WriteAtomically("TARN" + number + ".RLT", ini.ToText(), 0644);
}
