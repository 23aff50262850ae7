// The runtime record of one audition, held by value in the audition list.
// The definition, the notify plan and the plug-in instance are the
// configuration's (set by the audition list synchronisation); the other fields
// are the run state that the checks keep.
#pragma once

#include "DBRecords.h"
#include "LogResumePoint.h"

#include <cstdint>
#include <ctime>
#include <string>

class IPluginInstance;

struct AuditionEntry {
    bool Running = false;      // started; false after StopAudition
    bool Paused = false;       // not checked while set; StartAudition clears it
    bool FirstCheck = true;    // from StartAudition until the first check has run
    bool AgentPerforms = true; // the agent lists this audition as one it carries out
    std::time_t LastErrorTime = 0;
    std::time_t FileTime = 0;      // log file audition: modification time at the last check
    std::time_t NextFileCheck = 0; // log file audition: when the next check is due
    std::time_t NextPing = 0;      // network audition: when the next ping is due
    DBAudition Definition;
    DBHEvent Signal; // the error signal of the last check; its ProblemID is unused
    IPluginInstance* PluginInstance = nullptr; // owned by the plug-in host
    std::string NotifyProfiles;                // compact notify plan
    int32_t PingFailures = 0;
    int32_t ReportedUnmarkableLine = 0; // agent log line last named as impossible to mark
    // Agent audition: where the next scan of the log goes on, and the log path
    // and matching settings the point was taken for (AgentLogScanKey).
    CLogResumePoint AgentLogResume;
    std::string AgentLogResumeKey;
    std::string ReportedCannotRun; // why the audition cannot run, as last named
};

// Copies the run state (every field but Definition, NotifyProfiles and
// PluginInstance) from one entry to another.
void CopyRunState(const AuditionEntry& from, AuditionEntry& to);
