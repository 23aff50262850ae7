// The judgement of a log file audition, which the console performs itself on
// any file it can reach: an error when a watched file exists (check type 0),
// or when a file that must keep changing has not changed since the previous
// check (check type 1). The audition thread feeds it from the audition entry
// (the AUDITIONS_LOGFILE settings of its definition and its FileTime,
// NextFileCheck and FirstCheck fields), writes the timing back, and carries
// out what the result asks for.
#pragma once

#include "LMLogFile.h"

#include <cstdint>
#include <ctime>
#include <string>

enum LogfileCheckType : int16_t {
    LOGFILE_CHECK_EXISTS = 0,  // "Datei auf Vorhandensein prüfen"
    LOGFILE_CHECK_CHANGED = 1, // "Datei auf Änderung prüfen"
};

// The audition's settings (AUDITIONS_LOGFILE).
struct LogfileAuditionSettings {
    std::string LogFile;       // LOGFILE: the watched file
    int16_t CheckType = 0;     // CHECK_TYPE
    int32_t CheckInterval = 0; // CHECK_INTERVAL, minutes
};

// The audition entry's runtime fields; the check updates them.
struct LogfileAuditionTiming {
    std::time_t FileTime = 0;      // modification time seen at the last check (seconds)
    std::time_t NextFileCheck = 0; // the next check is due at this time
    bool FirstCheck = true;        // set when the audition is (re)started
};

struct LogfileAuditionResult {
    bool Error = false;         // Signal is filled
    bool StopAudition = false;  // stop the audition, not silently
    std::string ErrorEventLine; // when not empty: an event view line of kind EVENT_VIEW_ERROR
    // SOURCE 3, TYPE 1, CATEGORY 3, SOURCE_MODULE_NAME = the file, INFO_ID "0",
    // the description; no computer. The audition thread sets DATE.
    AgentLogEntry Signal;
};

// One check at `now`. A check is due at once after a (re)start, then every
// CHECK_INTERVAL + 1 minutes. A missing file is the good state for check type
// 0; for check type 1 it stops the audition with an event line instead.
LogfileAuditionResult CheckLogfileAudition(const LogfileAuditionSettings& settings,
                                           LogfileAuditionTiming& timing, std::time_t now);
