// Shared vocabulary of the console: the codes that the databases
// store and the threads pass around, their display texts, the few rules that
// derive one value from another, and the text form of time stamps.
//
// Free functions without state. Texts come from the string table of the
// running language (StringTable.h). A code outside its table passed to a name
// function is a programming error: it raises an assertion report (LUTool.h)
// (condition "FALSE") and the function yields an empty text (or false); the
// program goes on.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

// ---------------------------------------------------------------------------
// Audition type: AUDITIONS.AUDITION_TYPE (32-bit signed). Code 0 and codes
// above 6 are not audition types. A value read from a database may be any
// int32_t: static_cast<AuditionType>(value) is well defined for every value.
enum class AuditionType : int32_t {
    App = 1,      // "Applikation" (1109), AUDITIONS_APP
    Service = 2,  // "Service" (1108), AUDITIONS_SERVICE
    Logfile = 3,  // "Logdatei (individuell)" (1106), AUDITIONS_LOGFILE
    NTEvtLog = 4, // "NT-Eventlog" (1110), AUDITIONS_NTEVTLOG
    Net = 5,      // "Netzwerk" (1107), AUDITIONS_NET
    Plugin = 6,   // "Plug-In" (1142), AUDITIONS_PLUGIN
};

// AUDITION_ID of an audition that is being created and has no row yet.
constexpr int32_t AUDITION_ID_NEW = -1;

// Bit 0 of the in-memory ACTION_SPECIAL_MASK: the audition has no agent
// (its agent-computer field is empty: Logfile and Net auditions).
constexpr int32_t ACTION_SPECIAL_NO_AGENT = 0x1;

// ---------------------------------------------------------------------------
// Action type (32-bit signed), sent to agents as command files.
// Codes 4 to 7 do not follow the order of their string ids.
enum ActionType : int32_t {
    ACTION_RESTART_APP = 1,     // "Applikation neu starten" (1120), "START_APP"
    ACTION_RESTART_SERVICE = 2, // "Service neu starten" (1121), "START_SERVICE"
    ACTION_RESTART_SYSTEM = 3,  // "System neu starten" (1122), "SHUTDOWN_SYSTEM"
    ACTION_STOP_SERVICE = 4,    // "Service beenden" (1146), "STOP_SERVICE"
    ACTION_STOP_APP = 5,        // "Applikation beenden" (1144), "STOP_APP"
    ACTION_START_SERVICE = 6,   // "Service starten" (1145), "START_SERVICE"
    ACTION_START_APP = 7,       // "Applikation starten" (1143), "START_APP"
};

// ---------------------------------------------------------------------------
// Notification stage (32-bit): why a notification is sent for a problem.
enum NotifyStage : int32_t {
    NOTIFY_STAGE_OCCURRED = 1,   // "Das Problem trat zum ersten Mal auf." (5111)
    NOTIFY_STAGE_UNRESOLVED = 2, // "Das Problem konnte nicht behoben werden." (5114)
    NOTIFY_STAGE_RESOLVED = 3,   // "Das Problem konnte behoben werden." (5113)
};

// ---------------------------------------------------------------------------
// Problem status: PROBLEMS.PROBLEM_STATUS (32-bit). 3 is not a status.
enum ProblemStatus : int32_t {
    PROBLEM_OPEN = 1,       // "Offen" (1127), image 2
    PROBLEM_UNRESOLVED = 2, // "ungelöst" (1128), image 3
    PROBLEM_RESOLVED = 4,   // "gelöst" (1129), image 4
};

// ---------------------------------------------------------------------------
// History event codes (EVENTS.SOURCE, TYPE, CATEGORY): the values the console
// fills in for the events it makes itself, and those agents use for NT event
// log entries.
constexpr int32_t EVENT_SOURCE_CONSOLE = 3;    // log file, network, plug-in, action, notification
constexpr int32_t EVENT_SOURCE_SYSTEM_LOG = 1; // NT event log entry from the system log
constexpr int32_t EVENT_SOURCE_APP_LOG = 2;    // NT event log entry from the application log
constexpr int32_t EVENT_TYPE_ERROR = 1;        // an error signal the console found itself
constexpr int32_t EVENT_TYPE_WARNING = 2;      // NT event log warning
constexpr int32_t EVENT_TYPE_CONSOLE = 4; // written by the console; never matches an error signal
constexpr int32_t EVENT_CATEGORY_APP = 1; // application error reported by an agent
constexpr int32_t EVENT_CATEGORY_SERVICE = 2;       // service error reported by an agent
constexpr int32_t EVENT_CATEGORY_LOGFILE = 3;       // log file audition
constexpr int32_t EVENT_CATEGORY_NET = 4;           // network audition
constexpr int32_t EVENT_CATEGORY_PLUGIN = 5;        // plug-in audition
constexpr int32_t EVENT_CATEGORY_ACTION = 10;       // "Aktion" (1133), image 2
constexpr int32_t EVENT_CATEGORY_NOTIFICATION = 11; // "Benachrichtigung" (1132), image 3
// Any other category: "Fehlersignal" (1131), image 1.

// ---------------------------------------------------------------------------
// Event view entry kind: also the line's image index in the event view.
enum EventViewKind : int32_t {
    EVENT_VIEW_INFO = 1,               // "Info" (1103)
    EVENT_VIEW_WARNING = 2,            // "Warnung" (1104)
    EVENT_VIEW_ERROR = 3,              // "Fehler" (1105)
    EVENT_VIEW_PROBLEM_OPENED = 4,     // "Info" (1103)
    EVENT_VIEW_PROBLEM_UNRESOLVED = 5, // "Info" (1103)
    EVENT_VIEW_PROBLEM_RESOLVED = 6,   // "Info" (1103)
};

// Active state image in configuration lists: 2 active ("Ja", 1111), 1
// inactive ("Nein", 1112). A click on the image toggles between the two.
constexpr int ACTIVE_STATE_IMAGE_INACTIVE = 1;
constexpr int ACTIVE_STATE_IMAGE_ACTIVE = 2;

// ---------------------------------------------------------------------------
// Name functions.

// True for codes 1 to 6.
bool IsValidAuditionType(AuditionType type);
// Display text of an audition type; unknown: "Unbekannter Überwachungstyp", "".
std::string GetAuditionTypeName(AuditionType type);
// Display text of an action type; unknown: "Unbekannter Actiontyp", "".
std::string GetActionTypeName(ActionType action);
// The agent command word of an action type (command files), not translated;
// unknown: "Unbekannter Actiontyp", "".
std::string GetActionCommandWord(ActionType action);
// Status text of a notification stage; unknown: "Unbekannter Benachrichtigungstyp", "".
std::string GetNotifyStageText(NotifyStage stage);
// Display text of a problem status; unknown (3 too): "Unbekannter Benachrichtigungstyp", "".
std::string GetProblemStatusName(ProblemStatus status);
// Image index of a problem status in the problem list (2, 3, 4); 0 for any
// other status, without a report (the problem view reports it itself).
int GetProblemStatusImage(ProblemStatus status);
// Problem-view label of a history event's CATEGORY: 10 "Aktion", 11
// "Benachrichtigung", any other "Fehlersignal". Never reports.
std::string GetEventCategoryName(int32_t category);
// Image index of a history event's CATEGORY: 10 → 2, 11 → 3, any other → 1.
int GetEventCategoryImage(int32_t category);
// The word written for an event view kind in a saved event view or the
// protocol file; unknown kind: "Unbekannter Ereignistyp", "".
std::string GetEventViewKindWord(EventViewKind kind);
// "Ja" (1111) for active, "Nein" (1112) for inactive.
std::string GetActiveStateText(bool active);
// The state image for an active flag (ACTIVE_STATE_IMAGE_*).
int GetActiveStateImage(bool active);

// ---------------------------------------------------------------------------
// Rules.

// Whether an action may be configured as the automatic reaction of an
// audition: a Plugin audition has none; 1 App only, 2 Service only, 3 App,
// Service and NTEvtLog; 4 to 7 none. An action outside 1..7:
// "Unbekannter Aktionstyp", false.
bool IsActionApplicable(AuditionType type, ActionType action);

// The computer shown in views, events and notifications for an audition
// definition. The database record (DBAudition, console/db) feeds it with its
// AUDITION_TYPE and the SERVER_PATH of its detail record of that type:
//     GetAuditionComputer(static_cast<AuditionType>(a.AUDITION_TYPE), serverPath)
// App, Service, NTEvtLog, Net, Plugin → serverPath; Logfile → "" (no
// computer; pass anything). Unknown type: "Unbekannter Überwachungstyp", "".
std::string GetAuditionComputer(AuditionType type, const std::string& serverPath);

// Whether the audition type is carried out by an agent (App, Service,
// NTEvtLog, Plugin): its agent-computer field is filled from SERVER_PATH when
// the definition is loaded. False for Logfile, Net and unknown codes, which
// get ACTION_SPECIAL_NO_AGENT. Never reports.
bool IsAgentAuditionType(AuditionType type);

// The agent computer of an audition: serverPath for the four agent types,
// empty for Logfile, Net and unknown codes. Never reports.
std::string GetAgentComputer(AuditionType type, const std::string& serverPath);

// A computer name as lists show it: the name, or "unbekannt" (1130) when empty.
std::string GetComputerDisplayText(const std::string& computer);

// ---------------------------------------------------------------------------
// Time stamps (TimeStampText): local time as "%Y%m%d%H%M%S", exactly 14
// decimal digits, no separators.

// The local time of `time` as 14 digits. Empty when the time cannot be
// converted to local time or its year is outside 0..9999 (no 14-digit form).
std::string FormatTimeStamp(std::time_t time);
// FormatTimeStamp of the current time.
std::string CurrentTimeStamp();

// Reads a 14-digit time stamp as local time, daylight saving time determined
// automatically (mktime with tm_isdst = -1). Returns true and sets `time` when
// the text is exactly 14 decimal digits that name a local time that exists:
// month 1..12, a day of that month, hour 0..23, minute and second 0..59, and
// not inside the hour skipped when clocks go forward. Otherwise returns
// false, sets `time` to -1 and reports nothing (such text comes from files
// and databases, not from programming errors). Every accepted text gives
// itself back through FormatTimeStamp. A local time that occurs twice (the
// hour repeated when clocks go back) is accepted and gives one of the two
// moments, whichever mktime picks.
bool ParseTimeStamp(std::string_view text, std::time_t& time);

// Text shown to the user: the local time formatted with "%c" (the locale's
// date and time). Empty when the time cannot be converted.
std::string FormatDisplayTime(std::time_t time);
// A 14-digit time stamp in display form ("%c"); text that ParseTimeStamp does
// not accept is returned unchanged, so the user still sees what is stored.
std::string TimeStampToDisplayText(const std::string& timeStamp);
