// The rules of the notification service sheet and the general settings
// sheet: the fields with their limits, the "AT" prefix rule of the modem
// initialisation text, and the data directory's check and trailing separator.
//
// Service fields are named "<TABLE>_<COLUMN>" as in DBNotifySrvConfig
// ("SMS_RETRIES", "FAX_MODEM_INIT_STRING"); general settings by their column.
#pragma once

#include "ConfigField.h"
#include "DBRecords.h"

#include <string_view>

class CServiceRules {
public:
    static const ConfigFieldTable<DBNotifySrvConfig>& Fields();
    static const ConfigFieldTable<DBConfiguration>& SettingsFields();

    // The modem initialisation text as stored: without its first two
    // characters when it has at least two and begins with "AT" in any case.
    static std::string StripModemPrefix(std::string_view initString);
    // Applies StripModemPrefix to the record's FAX_MODEM_INIT_STRING.
    static void PrepareForSaving(DBNotifySrvConfig& record);
    static ConfigErrors Check(const DBNotifySrvConfig& record);

    // The data directory as stored: a separator appended unless it is empty
    // or already ends with one.
    static std::string WithTrailingSeparator(std::string_view directory);
    // Empty when the directory (without its trailing separator) exists,
    // else message 1018; an empty text fails, an existing file passes.
    static std::string CheckDataDirectory(std::string_view directory);
    // The length limits, then the data directory's existence.
    static ConfigErrors CheckSettings(const DBConfiguration& record);
};
