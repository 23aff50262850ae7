#include "CAuditionRules.h"

#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"
#include "TextEncoding.h"

#include <array>
#include <charconv>

namespace {

using Table = ConfigFieldTable<DBAudition>;

constexpr int32_t kTextLimit = 255;
constexpr int32_t kMinutesPerDay = 1440;

template <auto Member> ConfigField<DBAudition> Main(FieldSpec spec) {
    return MakeField<DBAudition, Member>(spec);
}
template <auto Part, auto Member> ConfigField<DBAudition> Detail(FieldSpec spec) {
    return MakePartField<DBAudition, Part, Member>(spec);
}

Table MainFields() {
    return {
        Main<&DBAudition::NAME>(TextField("NAME", kTextLimit)),
        Main<&DBAudition::DESCRIPTION>(TextField("DESCRIPTION", kTextLimit)),
        Main<&DBAudition::ACTIVE>(FlagField("ACTIVE")),
        Main<&DBAudition::ACTIVE_BEGIN>(NumberField("ACTIVE_BEGIN", 0, 24)),
        Main<&DBAudition::ACTIVE_END>(NumberField("ACTIVE_END", 0, 24)),
        Main<&DBAudition::ACTION_RESTART_SERVICE>(FlagField("ACTION_RESTART_SERVICE")),
        Main<&DBAudition::ACTION_RESTART_APP>(FlagField("ACTION_RESTART_APP")),
        Main<&DBAudition::ACTION_RESTART_SYSTEM>(FlagField("ACTION_RESTART_SYSTEM")),
        Main<&DBAudition::RESTART_PARAMETERS>(TextField("RESTART_PARAMETERS", kTextLimit)),
        Main<&DBAudition::NOTIFY_ALWAYS>(FlagField("NOTIFY_ALWAYS")),
        Main<&DBAudition::NOTIFY_FAILURE>(FlagField("NOTIFY_FAILURE")),
        Main<&DBAudition::NOTIFY_SUCCESS>(FlagField("NOTIFY_SUCCESS")),
        Main<&DBAudition::MAX_DURATION>(NumberField("MAX_DURATION", 1, kMinutesPerDay)),
    };
}

Table DetailFields(AuditionType type) {
    using A = DBAudition;
    switch (type) {
    case AuditionType::App:
        return {Detail<&A::App, &DBAuditionApp::SERVER_PATH>(TextField("SERVER_PATH")),
                Detail<&A::App, &DBAuditionApp::APP_MODULE>(TextField("APP_MODULE"))};
    case AuditionType::Service:
        return {
            Detail<&A::Service, &DBAuditionService::SERVER_PATH>(TextField("SERVER_PATH")),
            Detail<&A::Service, &DBAuditionService::SERVICE_NAME>(TextField("SERVICE_NAME")),
            Detail<&A::Service, &DBAuditionService::SERVICE_DISPLAYNAME>(
                TextField("SERVICE_DISPLAYNAME")),
            Detail<&A::Service, &DBAuditionService::SERVICE_MODULE>(TextField("SERVICE_MODULE"))};
    case AuditionType::Logfile:
        return {
            Detail<&A::Logfile, &DBAuditionLogfile::LOGFILE>(TextField("LOGFILE", kTextLimit)),
            Detail<&A::Logfile, &DBAuditionLogfile::CHECK_TYPE>(NumberField("CHECK_TYPE", 0, 1)),
            Detail<&A::Logfile, &DBAuditionLogfile::CHECK_INTERVAL>(
                NumberField("CHECK_INTERVAL", 1, kMinutesPerDay))};
    case AuditionType::NTEvtLog:
        return {
            Detail<&A::NTEvtLog, &DBAuditionNTEvtLog::SERVER_PATH>(TextField("SERVER_PATH")),
            Detail<&A::NTEvtLog, &DBAuditionNTEvtLog::AUDIT_SYSTEMLOG>(
                FlagField("AUDIT_SYSTEMLOG")),
            Detail<&A::NTEvtLog, &DBAuditionNTEvtLog::AUDIT_APPLOG>(FlagField("AUDIT_APPLOG")),
            Detail<&A::NTEvtLog, &DBAuditionNTEvtLog::AUDIT_WARNING>(FlagField("AUDIT_WARNING")),
            Detail<&A::NTEvtLog, &DBAuditionNTEvtLog::AUDIT_ERROR>(FlagField("AUDIT_ERROR")),
            Detail<&A::NTEvtLog, &DBAuditionNTEvtLog::FILTER_TYPE>(
                NumberField("FILTER_TYPE", 0, 2)),
            Detail<&A::NTEvtLog, &DBAuditionNTEvtLog::FILTER_SOURCE>(TextField("FILTER_SOURCE")),
            Detail<&A::NTEvtLog, &DBAuditionNTEvtLog::FILTER_ID>(TextField("FILTER_ID"))};
    case AuditionType::Net:
        return {Detail<&A::Net, &DBAuditionNet::SERVER_PATH>(TextField("SERVER_PATH")),
                Detail<&A::Net, &DBAuditionNet::IP_ADDRESS>(TextField("IP_ADDRESS")),
                Detail<&A::Net, &DBAuditionNet::TIMEOUT>(NumberField("TIMEOUT", 1, 30)),
                Detail<&A::Net, &DBAuditionNet::CHECK_INTERVAL>(
                    NumberField("CHECK_INTERVAL", 1, kMinutesPerDay))};
    case AuditionType::Plugin:
        return {Detail<&A::Plugin, &DBAuditionPlugin::SERVER_PATH>(TextField("SERVER_PATH")),
                Detail<&A::Plugin, &DBAuditionPlugin::PLUGIN_TYPE>(
                    NumberField("PLUGIN_TYPE", INT32_MIN, INT32_MAX)),
                Detail<&A::Plugin, &DBAuditionPlugin::PLUGIN_NAME>(TextField("PLUGIN_NAME"))};
    }
    return {};
}

Table BuildTable(AuditionType type) {
    Table table = MainFields();
    for (ConfigField<DBAudition>& field : DetailFields(type))
        table.push_back(field);
    return table;
}

struct TypeWordEntry {
    AuditionType type;
    const char* word;
};
constexpr std::array<TypeWordEntry, 6> kTypeWords{{{AuditionType::App, "App"},
                                                   {AuditionType::Service, "Service"},
                                                   {AuditionType::Logfile, "Logfile"},
                                                   {AuditionType::NTEvtLog, "NTEvtLog"},
                                                   {AuditionType::Net, "Net"},
                                                   {AuditionType::Plugin, "Plugin"}}};

// Removes the blanks at the start of every ";"-separated entry.
std::string TrimEntries(const std::string& list) {
    std::string result;
    size_t start = 0;
    while (true) {
        const size_t end = list.find(';', start);
        const std::string_view entry =
            std::string_view(list).substr(start, end == std::string::npos ? end : end - start);
        size_t first = 0;
        while (first < entry.size() && IsBlank(entry[first]))
            ++first;
        result.append(entry.substr(first));
        if (end == std::string::npos)
            return result;
        result.push_back(';');
        start = end + 1;
    }
}

void CheckAction(const DBAudition& record, bool checked, ActionType action, const char* column,
                 ConfigErrors& errors) {
    if (checked && !IsActionApplicable(static_cast<AuditionType>(record.AUDITION_TYPE), action))
        errors.push_back({column, LoadTarnString(IDS_ACTION_NOT_APPLICABLE)});
}

} // namespace

const ConfigFieldTable<DBAudition>& CAuditionRules::Fields(AuditionType type) {
    static const std::array<Table, 7> tables{Table{},
                                             BuildTable(AuditionType::App),
                                             BuildTable(AuditionType::Service),
                                             BuildTable(AuditionType::Logfile),
                                             BuildTable(AuditionType::NTEvtLog),
                                             BuildTable(AuditionType::Net),
                                             BuildTable(AuditionType::Plugin)};
    return IsValidAuditionType(type) ? tables[static_cast<size_t>(type)] : tables[0];
}

DBAudition CAuditionRules::NewAudition(AuditionType type) {
    DBAudition record;
    record.AUDITION_ID = AUDITION_ID_NEW;
    record.AUDITION_TYPE = static_cast<int32_t>(type);
    record.NAME = GetAuditionTypeName(type);
    return record;
}

std::optional<AuditionType> CAuditionRules::ParseType(std::string_view name) {
    for (const TypeWordEntry& entry : kTypeWords) {
        if (EqualsNoCase(name, entry.word))
            return entry.type;
    }
    int32_t code = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), code);
    const auto type = static_cast<AuditionType>(code);
    if (!name.empty() && error == std::errc() && end == name.data() + name.size() &&
        IsValidAuditionType(type))
        return type;
    return std::nullopt;
}

std::string CAuditionRules::TypeWord(AuditionType type) {
    for (const TypeWordEntry& entry : kTypeWords) {
        if (entry.type == type)
            return entry.word;
    }
    return {};
}

RestartControlState CAuditionRules::RestartControls(AuditionType type, bool systemChecked) {
    const bool appApplicable = IsActionApplicable(type, ACTION_RESTART_APP);
    const bool serviceApplicable = IsActionApplicable(type, ACTION_RESTART_SERVICE);
    RestartControlState state;
    state.restartApp = !systemChecked && appApplicable;
    state.restartService = !systemChecked && serviceApplicable;
    state.restartSystem = IsActionApplicable(type, ACTION_RESTART_SYSTEM);
    state.parameters = (!systemChecked && appApplicable) || serviceApplicable;
    return state;
}

void CAuditionRules::PrepareForSaving(DBAudition& record) {
    if (record.AUDITION_TYPE == static_cast<int32_t>(AuditionType::NTEvtLog)) {
        DBAuditionNTEvtLog& log = record.NTEvtLog;
        log.AUDIT_SYSTEMLOG = !log.AUDIT_APPLOG;
        log.FILTER_SOURCE = TrimEntries(log.FILTER_SOURCE);
        log.FILTER_ID = TrimEntries(log.FILTER_ID);
    }
    if (record.ACTION_RESTART_SYSTEM) {
        record.ACTION_RESTART_APP = false;
        record.ACTION_RESTART_SERVICE = false;
        record.RESTART_PARAMETERS.clear();
    }
}

ConfigErrors CAuditionRules::Check(const DBAudition& record) {
    ConfigErrors errors;
    const auto type = static_cast<AuditionType>(record.AUDITION_TYPE);
    if (!IsValidAuditionType(type)) {
        errors.push_back({"AUDITION_TYPE", FillMessage(LoadTarnString(IDS_AUDITION_TYPE_UNKNOWN),
                                                       {std::to_string(record.AUDITION_TYPE)})});
        return errors;
    }
    CheckFields(Fields(static_cast<AuditionType>(record.AUDITION_TYPE)), record, errors);
    CheckAction(record, record.ACTION_RESTART_APP, ACTION_RESTART_APP, "ACTION_RESTART_APP",
                errors);
    CheckAction(record, record.ACTION_RESTART_SERVICE, ACTION_RESTART_SERVICE,
                "ACTION_RESTART_SERVICE", errors);
    CheckAction(record, record.ACTION_RESTART_SYSTEM, ACTION_RESTART_SYSTEM,
                "ACTION_RESTART_SYSTEM", errors);
    return errors;
}
