// Which agent log lines belong to an application, service or NT event log
// audition. Lines that match no audition stay unprocessed in the file for the
// other auditions of the same computer.
#pragma once

#include "DBRecords.h"
#include "LMLogFile.h"

// App: an application error (CATEGORY 1) whose module, without trailing
// blanks, equals APP_MODULE ignoring case. Service: a service error
// (CATEGORY 2) whose source name, without trailing blanks, equals
// SERVICE_NAME ignoring case. NTEvtLog: a watched log and severity that
// passes the source and event-id filters; its description then becomes
// "<source name> (<event id>): <description>". Any other type never matches.
bool MatchAgentLogEntry(const DBAudition& audition, AgentLogEntry& entry);

// Everything that decides which lines of the log at logPath a scan for the
// audition passes over: equal keys, equal decisions on every line.
std::string AgentLogScanKey(const std::string& logPath, const DBAudition& audition);

// The NT event log filters: FILTER_TYPE 0 lets every entry pass, 1 only
// entries listed in every non-empty list, any other value only entries
// listed in none. Lists are ";"-separated and compared ignoring case.
bool PassesEventLogFilter(const DBAuditionNTEvtLog& settings, const AgentLogEntry& entry);
