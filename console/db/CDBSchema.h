// The complete schemas of both files, taken from the binding classes, and the
// creation of new files: a configuration file at the current version with
// every one-row table filled, and an empty history file.
#pragma once

#include "CDBConnection.h"
#include "CDBTable.h"
#include "DBRecords.h"

#include <string>
#include <vector>

class CDBSchema {
public:
    // The versions this console works with.
    static constexpr int32_t kConfigVersion = 10;
    static constexpr int32_t kHistoryVersion = 2;

    // Every table of the configuration file except A_SYSTEM.
    static std::vector<const CDBTable*> ConfigurationTables();
    // Every table of the history file except A_SYSTEM.
    static std::vector<const CDBTable*> HistoryTables();

    // The service settings of a new installation.
    static DBNotifySrvConfig DefaultNotifyServicesConfig();

    // Create the file; false with the reason when anything exists at the path
    // or the engine fails (a partly written file is removed again).
    static bool CreateConfigurationFile(const std::string& strPath,
                                        const DBConfiguration& configuration,
                                        const DBNotifySrvConfig& services, std::string& strError);
    static bool CreateHistoryFile(const std::string& strPath, std::string& strError);

    // CREATE TABLE, the named index and the lookup indexes of each table, and
    // A_SYSTEM with one row holding the version. Throws CDBException.
    static void CreateTables(CDBConnection& connection, const std::vector<const CDBTable*>& tables,
                             int32_t nVersion);
};
