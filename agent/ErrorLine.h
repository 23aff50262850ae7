// One error the agent found, as one line of its agent log: nine ";"-separated
// fields, DATE;COMPUTER;SOURCE;SOURCE_NAME;SOURCE_MODULE_NAME;TYPE;CATEGORY;
// INFO_ID;EVENT_DESCRIPTION.
#pragma once

#include <ctime>
#include <string>

inline constexpr int kCategoryApplication = 1;
inline constexpr int kCategoryService = 2;
inline constexpr int kSourceSystemLog = 1;
inline constexpr int kSourceApplicationLog = 2;
inline constexpr int kTypeError = 1;
inline constexpr int kTypeWarning = 2;
// The console keeps this many characters of a description.
inline constexpr size_t kDescriptionCharacters = 254;

struct ErrorLine {
    std::time_t When = 0;
    int Source = 1; // never 0: the console skips such lines
    std::string SourceName;
    std::string Module;
    int Type = kTypeError; // never 0
    int Category = 0;
    std::string InfoId = "0";
    std::string Description;
};

// The line with its LF. Field texts become valid UTF-8 (other bytes read as
// Windows-1252), ";" becomes "," and control characters blanks, so that the
// line always has nine fields; the description is cut to 254 characters.
std::string FormatErrorLine(const std::string& computer, const ErrorLine& line);
// Local time as 14 digits, YYYYMMDDhhmmss.
std::string TimeStampText(std::time_t when);
