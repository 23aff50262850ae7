// Which agent log lines belong to an application, service or event log audition.
#include "AgentLogAudition.h"

#include <gtest/gtest.h>

namespace {

DBAudition EventLogAudition(bool systemLog, bool appLog, bool errors, bool warnings) {
    DBAudition audition;
    audition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::NTEvtLog);
    audition.NTEvtLog.AUDIT_SYSTEMLOG = systemLog;
    audition.NTEvtLog.AUDIT_APPLOG = appLog;
    audition.NTEvtLog.AUDIT_ERROR = errors;
    audition.NTEvtLog.AUDIT_WARNING = warnings;
    return audition;
}

AgentLogEntry EventLogEntry(int32_t source, int32_t type, const std::string& sourceName = "Disk",
                            const std::string& eventId = "7") {
    AgentLogEntry entry;
    entry.Source = source;
    entry.Type = type;
    entry.SourceName = sourceName;
    entry.InfoID = eventId;
    entry.EventDescription = "text";
    return entry;
}

struct SeverityCase {
    bool systemLog, appLog, errors, warnings;
    int32_t source, type;
    bool matches;
};

TEST(AgentLogAudition, EventLogWatchesTheChosenLogsAndSeverities) {
    const SeverityCase cases[] = {
        {true, false, true, false, 1, 1, true},  {true, false, true, false, 2, 1, false},
        {true, false, true, false, 1, 2, false}, {false, true, false, true, 2, 2, true},
        {false, true, false, true, 1, 2, false}, {true, true, true, true, 3, 1, false},
        {true, true, true, true, 1, 3, false},   {false, false, true, true, 1, 1, false},
        {true, true, false, false, 2, 2, false},
    };
    for (const SeverityCase& c : cases) {
        AgentLogEntry entry = EventLogEntry(c.source, c.type);
        EXPECT_EQ(MatchAgentLogEntry(EventLogAudition(c.systemLog, c.appLog, c.errors, c.warnings),
                                     entry),
                  c.matches)
            << "case " << (&c - cases);
        EXPECT_EQ(entry.EventDescription, c.matches ? "Disk (7): text" : "text");
    }
}

struct FilterCase {
    int32_t filterType;
    const char* sources;
    const char* ids;
    const char* sourceName;
    const char* eventId;
    bool passes;
};

TEST(AgentLogAudition, EventLogFilters) {
    const FilterCase cases[] = {
        {0, "Disk", "7", "Other", "8", true},
        // Type 1: listed in every non-empty list, ignoring case.
        {1, "disk;Cdrom", "7;9", "Disk", "7", true},
        {1, "disk;Cdrom", "7;9", "Disk", "8", false},
        {1, "disk;Cdrom", "7;9", "Tcpip", "7", false},
        {1, "Dienst-Überwachung", "", "DIENST-ÜBERWACHUNG", "1", true},
        {1, "", "7", "Anything", "7", true},
        {1, "Disk", "", "Disk", "123", true},
        {1, "", "", "Anything", "1", true},
        // Any other type: listed in none.
        {2, "Disk", "7", "Tcpip", "8", true},
        {2, "Disk", "7", "disk", "8", false},
        {2, "Caméra", "", "CAMÉRA", "8", false},
        {2, "Disk", "7", "Tcpip", "7", false},
        {-1, "Disk", "", "Disk", "8", false},
        {2, "", "", "Disk", "7", true},
    };
    for (const FilterCase& c : cases) {
        DBAuditionNTEvtLog settings;
        settings.FILTER_TYPE = c.filterType;
        settings.FILTER_SOURCE = c.sources;
        settings.FILTER_ID = c.ids;
        EXPECT_EQ(PassesEventLogFilter(settings, EventLogEntry(1, 1, c.sourceName, c.eventId)),
                  c.passes)
            << "case " << (&c - cases);
    }
}

TEST(AgentLogAudition, FilteredOutEntryKeepsItsDescription) {
    DBAudition audition = EventLogAudition(true, true, true, true);
    audition.NTEvtLog.FILTER_TYPE = 1;
    audition.NTEvtLog.FILTER_ID = "9";
    AgentLogEntry entry = EventLogEntry(1, 1);
    EXPECT_FALSE(MatchAgentLogEntry(audition, entry));
    EXPECT_EQ(entry.EventDescription, "text");
}

struct ModuleCase {
    AuditionType type;
    int32_t category;
    const char* module;
    const char* sourceName;
    bool matches;
};

TEST(AgentLogAudition, ApplicationAndServiceRules) {
    const ModuleCase cases[] = {
        {AuditionType::App, 1, "EXPLORER.EXE", "", true},
        {AuditionType::App, 1, "explorer.exe   ", "", true},
        {AuditionType::App, 1, " explorer.exe", "", false},
        {AuditionType::App, 2, "explorer.exe", "", false},
        {AuditionType::App, 1, "", "explorer.exe", false},
        {AuditionType::Service, 2, "", "spooler", true},
        {AuditionType::Service, 2, "", "SPOOLER\t ", true},
        {AuditionType::Service, 1, "", "spooler", false},
        {AuditionType::Service, 2, "spooler", "", false},
        {AuditionType::Logfile, 1, "explorer.exe", "spooler", false},
        {AuditionType::Net, 2, "explorer.exe", "spooler", false},
    };
    for (const ModuleCase& c : cases) {
        DBAudition audition;
        audition.AUDITION_TYPE = static_cast<int32_t>(c.type);
        audition.App.APP_MODULE = "explorer.exe";
        audition.Service.SERVICE_NAME = "Spooler";
        AgentLogEntry entry;
        entry.Category = c.category;
        entry.SourceModuleName = c.module;
        entry.SourceName = c.sourceName;
        EXPECT_EQ(MatchAgentLogEntry(audition, entry), c.matches) << "case " << (&c - cases);
    }
}

} // namespace
