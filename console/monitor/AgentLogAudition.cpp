#include "AgentLogAudition.h"

#include "FieldText.h"
#include "TARNTool.h"
#include "TextEncoding.h"

namespace {

constexpr char kFilterSeparator = ';';

bool IsWatchedEventLog(const DBAuditionNTEvtLog& settings, const AgentLogEntry& entry) {
    const bool watchedLog = (entry.Source == EVENT_SOURCE_SYSTEM_LOG && settings.AUDIT_SYSTEMLOG) ||
                            (entry.Source == EVENT_SOURCE_APP_LOG && settings.AUDIT_APPLOG);
    const bool watchedSeverity = (entry.Type == EVENT_TYPE_ERROR && settings.AUDIT_ERROR) ||
                                 (entry.Type == EVENT_TYPE_WARNING && settings.AUDIT_WARNING);
    return watchedLog && watchedSeverity;
}

bool MatchesEventLog(const DBAuditionNTEvtLog& settings, AgentLogEntry& entry) {
    if (!IsWatchedEventLog(settings, entry) || !PassesEventLogFilter(settings, entry))
        return false;
    entry.EventDescription =
        entry.SourceName + " (" + entry.InfoID + "): " + entry.EventDescription;
    return true;
}

} // namespace

bool PassesEventLogFilter(const DBAuditionNTEvtLog& settings, const AgentLogEntry& entry) {
    if (settings.FILTER_TYPE == 0)
        return true;
    const bool sourceListed = IsInList(settings.FILTER_SOURCE, kFilterSeparator, entry.SourceName);
    const bool idListed = IsInList(settings.FILTER_ID, kFilterSeparator, entry.InfoID);
    if (settings.FILTER_TYPE == 1)
        return (settings.FILTER_SOURCE.empty() || sourceListed) &&
               (settings.FILTER_ID.empty() || idListed);
    return !sourceListed && !idListed;
}

std::string AgentLogScanKey(const std::string& logPath, const DBAudition& audition) {
    const DBAuditionNTEvtLog& events = audition.NTEvtLog;
    std::string key = logPath;
    for (const std::string* text :
         {&audition.AgentComputer, &audition.App.APP_MODULE, &audition.Service.SERVICE_NAME,
          &events.FILTER_ID, &events.FILTER_SOURCE}) {
        key += '\0' + std::to_string(text->size()) + ':' + *text;
    }
    key += '\0' + std::to_string(audition.AUDITION_TYPE) + ',' +
           std::to_string(events.FILTER_TYPE) + ',' + std::to_string(events.AUDIT_APPLOG) +
           std::to_string(events.AUDIT_SYSTEMLOG) + std::to_string(events.AUDIT_ERROR) +
           std::to_string(events.AUDIT_WARNING);
    return key;
}

bool MatchAgentLogEntry(const DBAudition& audition, AgentLogEntry& entry) {
    switch (static_cast<AuditionType>(audition.AUDITION_TYPE)) {
    case AuditionType::App:
        return entry.Category == EVENT_CATEGORY_APP &&
               EqualsNoCase(TrimTrailingBlanks(entry.SourceModuleName), audition.App.APP_MODULE);
    case AuditionType::Service:
        return entry.Category == EVENT_CATEGORY_SERVICE &&
               EqualsNoCase(TrimTrailingBlanks(entry.SourceName), audition.Service.SERVICE_NAME);
    case AuditionType::NTEvtLog:
        return MatchesEventLog(audition.NTEvtLog, entry);
    default:
        return false;
    }
}
