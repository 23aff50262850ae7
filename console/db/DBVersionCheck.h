// The start-up check of both schema versions, run right after both files were
// opened and before anything reads them. An older configuration file is
// offered for conversion; every other mismatch ends the start.
#pragma once

#include "CDBEngineTARN.h"
#include "IDBVersionPrompt.h"

#include <string>

// Returns true when the start may go on: the configuration file is (now) at
// the current version and the history file at its version. Messages 1003,
// 1029 and 1009 and question 4006 (captioned strAppTitle) go through the
// prompt, on the calling thread.
bool CheckDatabaseVersions(CDBEngineTARN& engine, IDBVersionPrompt& prompt,
                           const std::string& strAppTitle);
