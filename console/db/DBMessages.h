// Texts of the database layer's messages, loaded from the string table by id
// and filled in.
#pragma once

#include "IDBReporter.h"
#include "MessageIds.h"

#include <string>

// Message 1019 with the operation's name and the engine's error description.
std::string FormatDBErrorText(const std::string& strOperation, const std::string& strDescription);
// Message 1029 with the version now in the file and the required one.
std::string FormatConversionFailedText(int nCurrentVersion, int nRequiredVersion);

// Shows message 1019 through the reporter (on the database thread).
void ReportDBError(IDBReporter& reporter, const std::string& strOperation,
                   const std::string& strDescription);
