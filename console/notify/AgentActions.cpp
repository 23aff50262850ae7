#include "AgentActions.h"

#include "AgentExchange.h"
#include "AuditionComputer.h"
#include "IniFile.h"
#include "LUTool.h"
#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"
#include "TARNTool.h"
#include "TextEncoding.h"

#include <tarn/TarnPlugin.h>

#include <cstdio>

namespace {

constexpr int kActionNumbers = 1000;
// The agent's result is read as into a buffer of this size.
constexpr size_t kResultBufferSize = 1024;

std::string ActionFileName(const char* extension, int number) {
    char name[32];
    std::snprintf(name, sizeof name, "TARN%03d.%s", number, extension);
    return name;
}

std::string ActionText(unsigned id, const std::string& display) {
    return FillMessage(LoadTarnString(id), {display});
}

bool IsTargetOnly(int32_t type) {
    return type == ACTION_RESTART_SYSTEM;
}

// The agent computer an action goes to: the audition's own computer when the
// signal names it in another case (agents may write names in capitals), else
// the computer the signal names.
std::string ActionComputer(const AuditionEntry& entry) {
    const std::string own = AuditionComputerOf(entry.Definition);
    return EqualsNoCase(entry.Signal.COMPUTER, own) ? own : entry.Signal.COMPUTER;
}

PluginActionList OfferedActions(const AuditionEntry& entry) {
    PluginActionList offered;
    if (entry.PluginInstance)
        entry.PluginInstance->GetActions(&offered);
    return offered;
}

} // namespace

std::string BuildCommandLine(const AgentAction& action) {
    const auto type = static_cast<ActionType>(action.Type);
    switch (type) {
    case ACTION_RESTART_SYSTEM:
        return GetActionCommandWord(type) + ";0;0";
    case ACTION_RESTART_APP:
    case ACTION_STOP_APP:
    case ACTION_START_APP:
        return GetActionCommandWord(type) + ";" + action.Module + ";" + action.Parameters;
    case ACTION_RESTART_SERVICE:
    case ACTION_STOP_SERVICE:
    case ACTION_START_SERVICE:
        return GetActionCommandWord(type) + ";" + action.Service + ";" + action.Parameters;
    default:
        TARN_ASSERT_FAIL("Unbekannter Actiontyp");
        return {};
    }
}

std::string ActionDisplayText(const AgentAction& action) {
    const auto type = static_cast<ActionType>(action.Type);
    const std::string name = GetActionTypeName(type);
    switch (type) {
    case ACTION_STOP_SERVICE:
    case ACTION_START_SERVICE:
        return name + " (" + action.Service + ")";
    case ACTION_STOP_APP:
    case ACTION_START_APP:
        return name + " (" + action.Module + ")";
    default:
        return name;
    }
}

bool ParseActionResult(const std::string& value, std::string& errorCode) {
    const std::string text = value.substr(0, kResultBufferSize - 1);
    const size_t digits = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    const bool numeric =
        digits < text.size() && text.find_first_not_of("0123456789", digits) == std::string::npos;
    if (!numeric) {
        errorCode = "-1"; // no number the agent could have meant as its result
        return false;
    }
    if (text.find_first_not_of('0', digits) == std::string::npos)
        return true;
    errorCode = text;
    return false;
}

bool PluginListsActions(const AuditionEntry& entry) {
    return !OfferedActions(entry).empty();
}

std::vector<AgentAction> PluginActions(const AuditionEntry& entry) {
    std::vector<AgentAction> actions;
    for (const PluginAction& item : OfferedActions(entry)) {
        if (item.ActionType < ACTION_RESTART_APP || item.ActionType > ACTION_START_APP)
            continue;
        AgentAction action;
        action.Type = item.ActionType;
        switch (item.ActionType) {
        case ACTION_RESTART_APP:
        case ACTION_STOP_APP:
        case ACTION_START_APP:
            action.Module = item.Module;
            break;
        case ACTION_RESTART_SERVICE:
        case ACTION_STOP_SERVICE:
        case ACTION_START_SERVICE:
            action.Service = item.Service;
            break;
        default:
            break;
        }
        if (!IsTargetOnly(item.ActionType))
            action.Parameters = item.Parameters;
        actions.push_back(std::move(action));
    }
    return actions;
}

CAgentActions::CAgentActions(CHistoryRecorder& recorder, CComputerList& computers,
                             AgentActionOptions options)
    : m_recorder(recorder), m_computers(computers), m_options(options) {}

void CAgentActions::StartRestartActions(int32_t nProblemID, const AuditionEntry& entry) {
    const DBAudition& audition = entry.Definition;
    if (static_cast<AuditionType>(audition.AUDITION_TYPE) == AuditionType::Plugin) {
        for (const AgentAction& action : PluginActions(entry))
            SendAgentAction(nProblemID, entry, action);
        return;
    }
    // A later rule overwrites the type of an earlier one: only the last of
    // application, service and system restart is sent.
    AgentAction action;
    if (audition.ACTION_RESTART_APP) {
        action.Type = ACTION_RESTART_APP;
        action.Module = audition.App.APP_MODULE;
        action.Parameters = audition.RESTART_PARAMETERS;
    }
    if (audition.ACTION_RESTART_SERVICE) {
        action.Type = ACTION_RESTART_SERVICE;
        action.Service = audition.Service.SERVICE_NAME;
        action.Parameters = audition.RESTART_PARAMETERS;
    }
    if (audition.ACTION_RESTART_SYSTEM)
        action.Type = ACTION_RESTART_SYSTEM;
    if (action.Type != 0)
        SendAgentAction(nProblemID, entry, action);
}

// The computer's record, only for a computer the console knows as an agent
// computer with a name that stays inside the data directory.
bool CAgentActions::FindAgentComputer(const std::string& computer, AgentComputer& record) {
    if (!IsSafeComputerName(computer))
        return false;
    bool found = false;
    CComputerListLock lock(m_computers);
    for (int index = 0; index < m_computers.GetSize() && !found; ++index) {
        record = m_computers.GetAt(index);
        found = record.Name == computer && !record.Directory.empty();
    }
    return found;
}

// The command file is written under a temporary name in the exchange
// directory and renamed into place there: the agent never sees a partial
// file, and a link planted at the name is replaced, not written through. A
// result file left from an earlier action of the number goes first.
bool CAgentActions::DeliverCommandFile(const PendingAction& pending,
                                       const std::string& commandLine) const {
    std::string directory;
    std::string commandName;
    std::string resultName;
    if (!SplitPathBelow(pending.DataDirectory, pending.CommandFile, directory, commandName) ||
        !SplitPathBelow(pending.DataDirectory, pending.ResultFile, directory, resultName))
        return false;
    const CSafeDirectory exchange = CSafeDirectory::OpenBelow(pending.DataDirectory, directory);
    CIniFile file = CIniFile::Parse("");
    return exchange.RemoveFile(resultName) && file.SetValue("Commands", "Command1", commandLine) &&
           exchange.ReplaceFile(commandName, file.ToText());
}

void CAgentActions::SendAgentAction(int32_t nProblemID, const AuditionEntry& entry,
                                    const AgentAction& action) {
    PendingAction pending;
    pending.IssueTime = m_recorder.Now();
    pending.ProblemID = nProblemID;
    pending.Type = action.Type;
    pending.Action = action;
    pending.Audition = entry;
    pending.Computer = ActionComputer(entry);
    pending.DisplayText = ActionDisplayText(action);

    AgentComputer record;
    const bool known = FindAgentComputer(pending.Computer, record);
    const int number = m_nActionCounter;
    m_nActionCounter = (m_nActionCounter + 1) % kActionNumbers;
    pending.DataDirectory = record.DataDirectory;
    pending.CommandFile = record.Directory + ActionFileName("TRA", number);
    pending.ResultFile = record.Directory + ActionFileName("RLT", number);

    bool delivered = false;
    if (known) {
        if (action.Type == ACTION_RESTART_SYSTEM)
            SetRestartPending(pending, true);
        delivered = DeliverCommandFile(pending, BuildCommandLine(action));
        if (!delivered && action.Type == ACTION_RESTART_SYSTEM)
            SetRestartPending(pending, false);
    }
    if (delivered) {
        m_pending.push_back(pending);
        m_recorder.WriteActionEvent(pending, EVENT_VIEW_INFO,
                                    ActionText(IDS_ACTION_STARTED, pending.DisplayText));
    } else {
        m_recorder.WriteActionEvent(pending, EVENT_VIEW_ERROR,
                                    ActionText(IDS_ACTION_NOT_DELIVERED, pending.DisplayText));
        m_recorder.CountErrorSignal(nProblemID);
    }
}

void CAgentActions::SetRestartPending(const PendingAction& action, bool pending) {
    m_computers.SetRestartPending(action.Computer, pending);
}

// Reads the result file when it is there. A name that is not a regular file
// (a link, a FIFO) or a file too large to be real is the agent's failure "-1",
// named in one warning line, and removed like a result.
bool CAgentActions::ReadResult(const PendingAction& action) {
    std::string directory;
    std::string name;
    if (!SplitPathBelow(action.DataDirectory, action.ResultFile, directory, name))
        return false;
    const CSafeDirectory exchange = CSafeDirectory::OpenBelow(action.DataDirectory, directory);
    std::string content;
    const SafeFileStatus status = exchange.ReadFile(name, kMaxAgentFileSize, content);
    if (status == SafeFileStatus::Missing)
        return false;
    std::string code = "-1";
    const bool readable = status == SafeFileStatus::Ok;
    if (!readable)
        m_recorder.AddEventViewLine(
            EVENT_VIEW_WARNING, action.Computer, action.Audition.Definition.NAME,
            FillMessage(LoadTarnString(IDS_AGENT_FILE_NOT_READ),
                        {action.ResultFile, DescribeSafeFileStatus(status)}));
    const std::string value = CIniFile::Parse(content).GetString("Results", "Result1");
    if (readable && ParseActionResult(value, code)) {
        m_recorder.WriteActionEvent(action, EVENT_VIEW_INFO,
                                    ActionText(IDS_ACTION_SUCCEEDED, action.DisplayText));
    } else {
        const std::string text =
            FillMessage(LoadTarnString(IDS_ACTION_FAILED), {action.DisplayText, code});
        m_recorder.WriteActionEvent(action, EVENT_VIEW_ERROR, text);
        m_recorder.CountErrorSignal(action.ProblemID);
    }
    if (action.Type == ACTION_RESTART_SYSTEM)
        SetRestartPending(action, false);
    exchange.RemoveFile(name);
    return true;
}

void CAgentActions::CollectActionResults() {
    const std::time_t now = m_recorder.Now();
    for (size_t index = 0; index < m_pending.size();) {
        const PendingAction action = m_pending[index];
        bool finished = ReadResult(action);
        if (!finished && action.Type == ACTION_RESTART_SYSTEM &&
            action.IssueTime + static_cast<std::time_t>(m_options.SystemRestartLimit.count()) <
                now) {
            ExpireAction(action);
            finished = true;
        }
        if (finished)
            m_pending.erase(m_pending.begin() + static_cast<std::ptrdiff_t>(index));
        else
            ++index;
    }
}

void CAgentActions::ExpireAction(const PendingAction& action) {
    if (action.Type == ACTION_RESTART_SYSTEM) {
        SetRestartPending(action, false);
        m_computers.SetActionTimedOut(action.Computer, true);
    }
    m_recorder.WriteActionEvent(action, EVENT_VIEW_ERROR,
                                ActionText(IDS_ACTION_TIMED_OUT, action.DisplayText));
    m_recorder.CountErrorSignal(action.ProblemID);
}

int CAgentActions::ExpireProblemActions(int32_t nProblemID) {
    int expired = 0;
    for (size_t index = 0; index < m_pending.size();) {
        if (m_pending[index].ProblemID != nProblemID) {
            ++index;
            continue;
        }
        const PendingAction action = m_pending[index];
        m_pending.erase(m_pending.begin() + static_cast<std::ptrdiff_t>(index));
        ExpireAction(action);
        ++expired;
    }
    return expired;
}
