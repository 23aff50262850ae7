#include "DBVersionCheck.h"

#include "CDBSchema.h"
#include "DBMessages.h"
#include "MessageIds.h"
#include "StringTable.h"

bool CheckDatabaseVersions(CDBEngineTARN& engine, IDBVersionPrompt& prompt,
                           const std::string& strAppTitle) {
    int32_t nConfigVersion = 0;
    int32_t nHistoryVersion = 0;
    engine.GetDBVersions(nConfigVersion, nHistoryVersion);
    if (nConfigVersion > CDBSchema::kConfigVersion) {
        prompt.ShowError(LoadTarnString(IDS_DB_CONFIG_INCOMPATIBLE));
        return false;
    }
    if (nConfigVersion < CDBSchema::kConfigVersion) {
        if (prompt.AskYesNoCancel(LoadTarnString(IDS_DB_ASK_CONVERT), strAppTitle) !=
            DBPromptAnswer::Yes)
            return false;
        if (!engine.ConvertDatabase(CDBSchema::kConfigVersion)) {
            int32_t nUnused = 0;
            engine.GetDBVersions(nConfigVersion, nUnused);
            prompt.ShowError(FormatConversionFailedText(nConfigVersion, CDBSchema::kConfigVersion));
            return false;
        }
    }
    if (nHistoryVersion != CDBSchema::kHistoryVersion) {
        prompt.ShowError(LoadTarnString(IDS_DB_HISTORY_INCOMPATIBLE));
        return false;
    }
    return true;
}
