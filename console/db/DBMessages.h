// Texts of the database layer's messages, loaded from the string table by id
// and filled in.
#pragma once

#include "IDBReporter.h"

#include <string>

enum : unsigned {
    IDS_DB_CONFIG_NOT_FOUND = 1000,
    IDS_DB_HISTORY_NOT_FOUND = 1002,
    IDS_DB_CONFIG_INCOMPATIBLE = 1003,
    IDS_DB_HISTORY_INCOMPATIBLE = 1009,
    IDS_DB_ACCESS_ERROR = 1019,
    IDS_DB_CONVERSION_FAILED = 1029,
    IDS_DB_ASK_CONVERT = 4006,
    IDS_DB_CONVERTING = 4007,
};

// Message 1019 with the operation's name and the engine's error description.
std::string FormatDBErrorText(const std::string& strOperation, const std::string& strDescription);
// Message 1029 with the version now in the file and the required one.
std::string FormatConversionFailedText(int nCurrentVersion, int nRequiredVersion);

// Shows message 1019 through the reporter (on the database thread).
void ReportDBError(IDBReporter& reporter, const std::string& strOperation,
                   const std::string& strDescription);
