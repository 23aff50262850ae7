#include "AgentExchange.h"

#include "FieldText.h"
#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"
#include "TARNTool.h"

namespace {

constexpr const char* kInfoSection = "Information";

std::string Trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return {};
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

bool ListHasFirstField(const std::vector<std::string>& list, const std::string& value) {
    for (const std::string& item : list)
        if (GetField(item, 1, ';') == value)
            return true;
    return false;
}

// The directory that holds path, with its trailing "/": the trusted base of
// "TARN.CFG", which lies in the data directory itself.
std::string DirectoryOf(const std::string& path) {
    return path.substr(0, path.rfind('/') + 1);
}

} // namespace

CIniFile LoadAgentConfig(const std::string& globalConfigFile, SafeFileStatus& status) {
    return CIniFile::LoadBelow(DirectoryOf(globalConfigFile), globalConfigFile, status);
}

bool IsSafeComputerName(const std::string& name) {
    std::string trimmed = Trimmed(name);
    return !trimmed.empty() && trimmed != "." && trimmed != ".." &&
           name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

CAgentExchange::CAgentExchange(CComputerList& computers, IEventViewSink& events,
                               std::function<std::string()> dataDirectory)
    : m_computers(computers), m_events(events), m_dataDirectory(std::move(dataDirectory)) {}

std::string CAgentExchange::GlobalConfigFile() const {
    return m_dataDirectory() + "TARN.CFG";
}

void CAgentExchange::RegisterAgentComputer(const AuditionEntry& entry) {
    const std::string& name = entry.Definition.AgentComputer;
    if (name.empty())
        return;
    const std::string dataDirectory = m_dataDirectory();
    const std::string directory = IsSafeComputerName(name) ? dataDirectory + name + "/" : "";
    CComputerListLock lock(m_computers);
    int nIndex = m_computers.FindOrAdd(name);
    AgentComputer computer = m_computers.GetAt(nIndex);
    if (!directory.empty()) {
        computer.DataDirectory = dataDirectory;
        computer.Directory = directory;
        computer.LogFile = directory + name + ".log";
        computer.InfoFile = directory + name + ".INI";
    }
    ++computer.AuditionCount;
    m_computers.SetAt(nIndex, computer);
}

// The information files are read and the changes reported with the list
// unlocked; only the fields read here are written back, by name.
void CAgentExchange::CheckAgentLiveness() {
    std::vector<AgentComputer> computers;
    {
        CComputerListLock lock(m_computers);
        for (int i = 0; i < m_computers.GetSize(); ++i)
            computers.push_back(m_computers.GetAt(i));
    }
    for (AgentComputer& seen : computers) {
        if (seen.InfoFile.empty())
            continue; // no exchange directory: the audition reports the name itself
        SafeFileStatus status;
        CIniFile info = CIniFile::LoadBelow(seen.DataDirectory, seen.InfoFile, status);
        ReportUnreadableFile(seen.InfoFile, status);
        seen.ComputerStartDate = info.GetString(kInfoSection, "ComputerStartDate");
        seen.TARNStartDate = info.GetString(kInfoSection, "TARNStartDate");
        seen.LastTouch = info.GetString(kInfoSection, "LastTouch");
        const bool alive = !seen.TARNStartDate.empty();
        if (alive != StoreLiveness(seen, alive))
            m_events.AddEventViewLine(alive ? EVENT_VIEW_INFO : EVENT_VIEW_WARNING, seen.Name, "",
                                      LoadTarnString(alive ? IDS_AGENT_BACK : IDS_AGENT_GONE));
    }
}

bool CAgentExchange::StoreLiveness(const AgentComputer& seen, bool alive) {
    CComputerListLock lock(m_computers);
    const int nIndex = m_computers.FindOrAdd(seen.Name);
    AgentComputer computer = m_computers.GetAt(nIndex);
    const bool wasAlive = computer.Alive;
    computer.ComputerStartDate = seen.ComputerStartDate;
    computer.TARNStartDate = seen.TARNStartDate;
    computer.LastTouch = seen.LastTouch;
    computer.Alive = alive;
    m_computers.SetAt(nIndex, computer);
    return wasAlive;
}

// A file an agent made into something else than a regular file (a link, a
// FIFO), or one too large to be real, reads as missing; it is named once
// until it changes.
void CAgentExchange::ReportUnreadableFile(const std::string& path, SafeFileStatus status) {
    const bool unreadable = status != SafeFileStatus::Ok && status != SafeFileStatus::Missing;
    auto reported = m_unreadableFiles.find(path);
    if (!unreadable) {
        if (reported != m_unreadableFiles.end())
            m_unreadableFiles.erase(reported);
        return;
    }
    if (reported != m_unreadableFiles.end() && reported->second == status)
        return;
    m_unreadableFiles[path] = status;
    m_events.AddEventViewLine(EVENT_VIEW_WARNING, "", "",
                              FillMessage(LoadTarnString(IDS_AGENT_FILE_NOT_READ),
                                          {path, DescribeSafeFileStatus(status)}));
}

bool CAgentExchange::IsPerformedByAgent(const AuditionEntry& entry) {
    const DBAudition& audition = entry.Definition;
    AgentComputer computer = m_computers.GetAgentComputer(audition.AgentComputer);
    const std::string configFile = GlobalConfigFile();
    bool listed = false;
    SafeFileStatus status = SafeFileStatus::Ok;
    for (const std::string& server : m_config.GetList(configFile, "Server", "Server", &status))
        listed = listed || server == computer.Name;
    ReportUnreadableFile(configFile, status);
    if (!listed || !computer.Alive)
        return false;

    switch (static_cast<AuditionType>(audition.AUDITION_TYPE)) {
    case AuditionType::Service:
        return ListHasFirstField(m_config.GetList(configFile, computer.Name, "Service"),
                                 audition.Service.SERVICE_MODULE);
    case AuditionType::App:
        return ListHasFirstField(m_config.GetList(configFile, computer.Name, "App"),
                                 audition.App.APP_MODULE);
    default:
        return true;
    }
}

bool CAgentExchange::CheckAgentPerforms(AuditionEntry& entry) {
    const std::string& name = entry.Definition.AgentComputer;
    if (name.empty())
        return true;
    if (!IsSafeComputerName(name)) {
        ReportUnsafeName(entry);
        return false;
    }
    bool performs = IsPerformedByAgent(entry);
    ReportPerformsChange(entry, performs);
    return performs;
}

void CAgentExchange::ReportPerformsChange(AuditionEntry& entry, bool performs) {
    if (performs == entry.AgentPerforms)
        return;
    const DBAudition& audition = entry.Definition;
    m_events.AddEventViewLine(
        performs ? EVENT_VIEW_INFO : EVENT_VIEW_WARNING, audition.AgentComputer, audition.NAME,
        LoadTarnString(performs ? IDS_AGENT_RESUMES_AUDITION : IDS_AGENT_STOPS_AUDITION));
    entry.AgentPerforms = performs;
}

// A name that could leave the data directory never reaches a path; the
// audition reports it once and is skipped from then on.
void CAgentExchange::ReportUnsafeName(AuditionEntry& entry) {
    if (!entry.AgentPerforms)
        return;
    m_events.AddEventViewLine(EVENT_VIEW_ERROR, entry.Definition.AgentComputer,
                              entry.Definition.NAME, LoadTarnString(IDS_UNSAFE_COMPUTER_NAME));
    entry.AgentPerforms = false;
}

AgentComputer CAgentExchange::GetAgentComputer(const std::string& name) {
    return m_computers.GetAgentComputer(name);
}

namespace {

std::vector<AgentServiceInfo> ReadServiceList(const CIniFile& config, const std::string& section,
                                              const char* listName) {
    std::vector<AgentServiceInfo> services;
    for (const std::string& item : config.GetList(section, listName))
        if (CountFields(item, ';') == 3)
            services.push_back(
                {GetField(item, 1, ';'), GetField(item, 2, ';'), GetField(item, 3, ';')});
    return services;
}

} // namespace

std::vector<AgentInventoryComputer> BuildAgentInventory(const std::string& globalConfigFile) {
    SafeFileStatus status;
    CIniFile config = LoadAgentConfig(globalConfigFile, status);
    std::vector<AgentInventoryComputer> inventory;
    for (const std::string& server : config.GetList("Server", "Server")) {
        AgentInventoryComputer computer;
        computer.Name = server;
        computer.Services = ReadServiceList(config, server, "Service");
        computer.InstalledServices = ReadServiceList(config, server, "Servicelist");
        for (const std::string& app : config.GetList(server, "App"))
            if (CountFields(app, ';') == 1)
                computer.Apps.push_back(app);
        inventory.push_back(std::move(computer));
    }
    return inventory;
}
