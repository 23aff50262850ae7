#include "TARNTool.h"

#include "LUTool.h"
#include "MessageIds.h"
#include "StringTable.h"

#include <cstdio>

namespace {

constexpr const char* kUnknownAuditionType = "Unbekannter Überwachungstyp";
constexpr const char* kUnknownActionName = "Unbekannter Actiontyp";
constexpr const char* kUnknownNotifyType = "Unbekannter Benachrichtigungstyp";
constexpr const char* kUnknownApplicability = "Unbekannter Aktionstyp";
constexpr const char* kUnknownEventViewKind = "Unbekannter Ereignistyp";

bool LocalTime(std::time_t time, std::tm& local) {
    return localtime_r(&time, &local) != nullptr;
}

} // namespace

bool IsValidAuditionType(AuditionType type) {
    const auto code = static_cast<int32_t>(type);
    return code >= static_cast<int32_t>(AuditionType::App) &&
           code <= static_cast<int32_t>(AuditionType::Plugin);
}

std::string GetAuditionTypeName(AuditionType type) {
    switch (type) {
    case AuditionType::App:
        return LoadTarnString(IDS_TYPE_APP);
    case AuditionType::Service:
        return LoadTarnString(IDS_TYPE_SERVICE);
    case AuditionType::Logfile:
        return LoadTarnString(IDS_TYPE_LOGFILE);
    case AuditionType::NTEvtLog:
        return LoadTarnString(IDS_TYPE_NTEVTLOG);
    case AuditionType::Net:
        return LoadTarnString(IDS_TYPE_NET);
    case AuditionType::Plugin:
        return LoadTarnString(IDS_TYPE_PLUGIN);
    }
    TARN_ASSERT_FAIL(kUnknownAuditionType);
    return std::string();
}

std::string GetActionTypeName(ActionType action) {
    switch (action) {
    case ACTION_RESTART_APP:
        return LoadTarnString(IDS_ACTION_RESTART_APP);
    case ACTION_RESTART_SERVICE:
        return LoadTarnString(IDS_ACTION_RESTART_SERVICE);
    case ACTION_RESTART_SYSTEM:
        return LoadTarnString(IDS_ACTION_RESTART_SYSTEM);
    case ACTION_STOP_SERVICE:
        return LoadTarnString(IDS_ACTION_STOP_SERVICE);
    case ACTION_STOP_APP:
        return LoadTarnString(IDS_ACTION_STOP_APP);
    case ACTION_START_SERVICE:
        return LoadTarnString(IDS_ACTION_START_SERVICE);
    case ACTION_START_APP:
        return LoadTarnString(IDS_ACTION_START_APP);
    }
    TARN_ASSERT_FAIL(kUnknownActionName);
    return std::string();
}

std::string GetActionCommandWord(ActionType action) {
    switch (action) {
    case ACTION_RESTART_APP:
    case ACTION_START_APP:
        return "START_APP";
    case ACTION_RESTART_SERVICE:
    case ACTION_START_SERVICE:
        return "START_SERVICE";
    case ACTION_RESTART_SYSTEM:
        return "SHUTDOWN_SYSTEM";
    case ACTION_STOP_SERVICE:
        return "STOP_SERVICE";
    case ACTION_STOP_APP:
        return "STOP_APP";
    }
    TARN_ASSERT_FAIL(kUnknownActionName);
    return std::string();
}

std::string GetNotifyStageText(NotifyStage stage) {
    switch (stage) {
    case NOTIFY_STAGE_OCCURRED:
        return LoadTarnString(IDS_STAGE_OCCURRED);
    case NOTIFY_STAGE_UNRESOLVED:
        return LoadTarnString(IDS_STAGE_UNRESOLVED);
    case NOTIFY_STAGE_RESOLVED:
        return LoadTarnString(IDS_STAGE_RESOLVED);
    }
    TARN_ASSERT_FAIL(kUnknownNotifyType);
    return std::string();
}

std::string GetProblemStatusName(ProblemStatus status) {
    switch (status) {
    case PROBLEM_OPEN:
        return LoadTarnString(IDS_STATUS_OPEN);
    case PROBLEM_UNRESOLVED:
        return LoadTarnString(IDS_STATUS_UNRESOLVED);
    case PROBLEM_RESOLVED:
        return LoadTarnString(IDS_STATUS_RESOLVED);
    }
    TARN_ASSERT_FAIL(kUnknownNotifyType);
    return std::string();
}

int GetProblemStatusImage(ProblemStatus status) {
    switch (status) {
    case PROBLEM_OPEN:
        return 2;
    case PROBLEM_UNRESOLVED:
        return 3;
    case PROBLEM_RESOLVED:
        return 4;
    }
    return 0;
}

std::string GetEventCategoryName(int32_t category) {
    switch (category) {
    case EVENT_CATEGORY_ACTION:
        return LoadTarnString(IDS_CATEGORY_ACTION);
    case EVENT_CATEGORY_NOTIFICATION:
        return LoadTarnString(IDS_CATEGORY_NOTIFICATION);
    default:
        return LoadTarnString(IDS_CATEGORY_SIGNAL);
    }
}

int GetEventCategoryImage(int32_t category) {
    switch (category) {
    case EVENT_CATEGORY_ACTION:
        return 2;
    case EVENT_CATEGORY_NOTIFICATION:
        return 3;
    default:
        return 1;
    }
}

std::string GetEventViewKindWord(EventViewKind kind) {
    switch (kind) {
    case EVENT_VIEW_INFO:
    case EVENT_VIEW_PROBLEM_OPENED:
    case EVENT_VIEW_PROBLEM_UNRESOLVED:
    case EVENT_VIEW_PROBLEM_RESOLVED:
        return LoadTarnString(IDS_KIND_INFO);
    case EVENT_VIEW_WARNING:
        return LoadTarnString(IDS_KIND_WARNING);
    case EVENT_VIEW_ERROR:
        return LoadTarnString(IDS_KIND_ERROR);
    }
    TARN_ASSERT_FAIL(kUnknownEventViewKind);
    return std::string();
}

std::string GetActiveStateText(bool active) {
    return LoadTarnString(active ? 1111 : 1112);
}

int GetActiveStateImage(bool active) {
    return active ? ACTIVE_STATE_IMAGE_ACTIVE : ACTIVE_STATE_IMAGE_INACTIVE;
}

bool IsActionApplicable(AuditionType type, ActionType action) {
    // A plug-in audition has no applicable action at all; this test comes first.
    if (type == AuditionType::Plugin)
        return false;
    switch (action) {
    case ACTION_RESTART_APP:
        return type == AuditionType::App;
    case ACTION_RESTART_SERVICE:
        return type == AuditionType::Service;
    case ACTION_RESTART_SYSTEM:
        return type == AuditionType::App || type == AuditionType::Service ||
               type == AuditionType::NTEvtLog;
    case ACTION_STOP_SERVICE:
    case ACTION_STOP_APP:
    case ACTION_START_SERVICE:
    case ACTION_START_APP:
        return false; // issued by hand only
    }
    TARN_ASSERT_FAIL(kUnknownApplicability);
    return false;
}

std::string GetAuditionComputer(AuditionType type, const std::string& serverPath) {
    switch (type) {
    case AuditionType::App:
    case AuditionType::Service:
    case AuditionType::NTEvtLog:
    case AuditionType::Net:
    case AuditionType::Plugin:
        return serverPath;
    case AuditionType::Logfile:
        return std::string();
    }
    TARN_ASSERT_FAIL(kUnknownAuditionType);
    return std::string();
}

bool IsAgentAuditionType(AuditionType type) {
    return type == AuditionType::App || type == AuditionType::Service ||
           type == AuditionType::NTEvtLog || type == AuditionType::Plugin;
}

std::string GetAgentComputer(AuditionType type, const std::string& serverPath) {
    return IsAgentAuditionType(type) ? serverPath : std::string();
}

std::string GetComputerDisplayText(const std::string& computer) {
    return computer.empty() ? LoadTarnString(IDS_COMPUTER_UNKNOWN) : computer;
}

std::string FormatTimeStamp(std::time_t time) {
    std::tm local{};
    if (!LocalTime(time, local))
        return std::string();
    const long year = 1900L + local.tm_year;
    if (year < 0 || year > 9999)
        return std::string();
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04ld%02d%02d%02d%02d%02d", year, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return buffer;
}

std::string CurrentTimeStamp() {
    return FormatTimeStamp(std::time(nullptr));
}

bool ParseTimeStamp(std::string_view text, std::time_t& time) {
    time = static_cast<std::time_t>(-1);
    if (text.size() != 14)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    auto number = [&](size_t position, size_t length) {
        int value = 0;
        for (size_t i = position; i < position + length; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    std::tm wanted{};
    wanted.tm_year = number(0, 4) - 1900;
    wanted.tm_mon = number(4, 2) - 1;
    wanted.tm_mday = number(6, 2);
    wanted.tm_hour = number(8, 2);
    wanted.tm_min = number(10, 2);
    wanted.tm_sec = number(12, 2);
    if (wanted.tm_mon < 0 || wanted.tm_mon > 11 || wanted.tm_mday < 1 || wanted.tm_mday > 31 ||
        wanted.tm_hour > 23 || wanted.tm_min > 59 || wanted.tm_sec > 59)
        return false;
    wanted.tm_isdst = -1; // daylight saving time determined automatically

    std::tm normalised = wanted;
    const std::time_t result = std::mktime(&normalised);
    // mktime moves a day that the month does not have (31 February) and a
    // time in the skipped hour of a clock change; such text names no local
    // time. The check also tells a real -1 (one second before 1970 UTC) from
    // mktime's error result.
    std::tm back{};
    if (!LocalTime(result, back))
        return false;
    if (back.tm_year != wanted.tm_year || back.tm_mon != wanted.tm_mon ||
        back.tm_mday != wanted.tm_mday || back.tm_hour != wanted.tm_hour ||
        back.tm_min != wanted.tm_min || back.tm_sec != wanted.tm_sec)
        return false;
    time = result;
    return true;
}

std::string FormatDisplayTime(std::time_t time) {
    std::tm local{};
    if (!LocalTime(time, local))
        return std::string();
    char buffer[256];
    if (std::strftime(buffer, sizeof buffer, "%c", &local) == 0)
        return std::string();
    return buffer;
}

std::string TimeStampToDisplayText(const std::string& timeStamp) {
    std::time_t time;
    if (!ParseTimeStamp(timeStamp, time))
        return timeStamp;
    return FormatDisplayTime(time);
}
