// tarn-admin init, convert and check: create a new installation directory,
// bring its configuration file up to the current version as the console does
// at start, and show the versions and row counts of both database files.
#include "AdminCommands.h"

#include "AuditionCheck.h"
#include "CDBConnection.h"
#include "CDBEngineTARN.h"
#include "CDBRepair.h"
#include "CDBSchema.h"
#include "CDBStore.h"
#include "CHeadlessDBReporter.h"
#include "DBMessages.h"
#include "DBVersionCheck.h"
#include "MessageIds.h"
#include "RegistryFile.h"
#include "StringTable.h"

#include <filesystem>
#include <iostream>
#include <set>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* kConfigFile = "TARN.MDB";
constexpr const char* kHistoryFile = "HISTORY.MDB";
constexpr const char* kRegistryFile = "registry.ini";

// The directory argument, absolute and with a trailing "/".
bool DirectoryArgument(const AdminArgs& args, const char* strUsage, std::string& strDirectory) {
    if (args.size() != 1) {
        std::cerr << "usage: tarn-admin " << strUsage << "\n";
        return false;
    }
    std::error_code error;
    fs::path directory = fs::absolute(args[0], error).lexically_normal();
    strDirectory = directory.string();
    if (strDirectory.empty() || strDirectory.back() != '/')
        strDirectory += '/';
    return true;
}

bool CreateRegistryFile(const std::string& strPath) {
    // An installer creates the key without values, so that the console can
    // write "ReactivateSurv" back.
    return CRegistryFile(strPath).CreateKey(kTarnRegistryKey);
}

// "OEMName" + " TARN! 2.5", as the console captions its question.
std::string ApplicationTitle(const std::string& strDirectory) {
    std::string strOem =
        CRegistryFile(strDirectory + kRegistryFile).ReadString(kTarnRegistryKey, "OEMName");
    return (strOem.empty() ? "velda" : strOem) + " TARN! 2.5";
}

// A sender that mail servers accept, so that the first mail notification of
// a new installation does not fail for an empty one: tarn@<host name>.
std::string DefaultSenderAddress() {
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0 || host[0] == '\0')
        return "tarn@localhost";
    return std::string("tarn@") + host;
}

DBNotifySrvConfig NewNotifyServices() {
    DBNotifySrvConfig services = CDBSchema::DefaultNotifyServicesConfig();
    services.SMTP_SENDER = DefaultSenderAddress();
    return services;
}

int RunInitIn(const std::string& strDirectory) {
    const std::string strConfig = strDirectory + kConfigFile;
    const std::string strHistory = strDirectory + kHistoryFile;
    const std::string strRegistry = strDirectory + kRegistryFile;
    std::error_code error;
    for (const std::string& strFile : {strConfig, strHistory, strRegistry}) {
        if (fs::exists(fs::symlink_status(strFile, error))) {
            std::cerr << "tarn-admin: " << strFile << " exists; nothing was changed\n";
            return 1;
        }
    }
    fs::create_directories(strDirectory + "data", error);
    if (error) {
        std::cerr << "tarn-admin: cannot create " << strDirectory << "data/: " << error.message()
                  << "\n";
        return 1;
    }
    DBConfiguration configuration;
    configuration.DATA_DIRECTORY = strDirectory + "data/";
    configuration.PROTOCOLFILE = strDirectory + "protocol.log";
    std::string strError;
    bool bCreated =
        CDBSchema::CreateConfigurationFile(strConfig, configuration, NewNotifyServices(), strError);
    bCreated = bCreated && CDBSchema::CreateHistoryFile(strHistory, strError);
    if (bCreated && !CreateRegistryFile(strRegistry)) {
        strError = "cannot write " + strRegistry;
        bCreated = false;
    }
    if (!bCreated) {
        std::cerr << "tarn-admin: " << strError << "; nothing was created\n";
        for (const std::string& strFile : {strConfig, strHistory, strRegistry})
            fs::remove(strFile, error);
        return 1;
    }
    std::cout << strConfig << " (version " << CDBSchema::kConfigVersion << ")\n"
              << strHistory << " (version " << CDBSchema::kHistoryVersion << ")\n"
              << strRegistry << " [" << kTarnRegistryKey << "]\n"
              << configuration.DATA_DIRECTORY << "\n";
    return 0;
}

int RunConvertIn(const std::string& strDirectory) {
    CHeadlessDBReporter reporter(DBPromptAnswer::Yes);
    CDBEngineTARN engine(&reporter);
    engine.SetConversionPause(std::chrono::milliseconds(0));
    bool bConfigOpened = false, bHistoryOpened = false;
    if (!engine.Open(strDirectory + kConfigFile, strDirectory + kHistoryFile, bConfigOpened,
                     bHistoryOpened)) {
        reporter.ShowError(
            LoadTarnString(bConfigOpened ? IDS_DB_HISTORY_NOT_FOUND : IDS_DB_CONFIG_NOT_FOUND));
        return 1;
    }
    int32_t nBefore = 0, nHistory = 0;
    engine.GetDBVersions(nBefore, nHistory);
    bool bPassed = CheckDatabaseVersions(engine, reporter, ApplicationTitle(strDirectory));
    int32_t nAfter = 0;
    engine.GetDBVersions(nAfter, nHistory);
    std::cout << kConfigFile << ": version " << nAfter;
    if (nAfter != nBefore)
        std::cout << " (converted from version " << nBefore << ")";
    else if (!bPassed && nBefore < CDBSchema::kConfigVersion)
        std::cout << " (conversion failed)";
    std::cout << "\n" << kHistoryFile << ": version " << nHistory << "\n";
    std::cout << (bPassed ? "ready" : "not usable by this console") << "\n";
    return bPassed ? 0 : 1;
}

// Tables that the console cannot start without a row in.
bool NeedsRow(const std::string& strTable) {
    static const std::set<std::string> required = {
        "A_SYSTEM",
        "CONFIGURATION",
        "NOTIFY_SERVICE_CFG_FAX",
        "NOTIFY_SERVICE_CFG_MSMAIL",
        "NOTIFY_SERVICE_CFG_SMS",
        "NOTIFY_SERVICE_CFG_SMTP",
    };
    return required.count(strTable) != 0;
}

// Prints the row count of every table; false when one is missing or lacks
// the row the console needs.
bool PrintTables(CDBConnection& connection, const std::vector<const CDBTable*>& tables) {
    bool bComplete = true;
    for (const CDBTable* pTable : tables) {
        std::cout << "  " << pTable->Name() << ": ";
        try {
            CDBStatement count = connection.Prepare("SELECT COUNT(*) FROM " + pTable->Name());
            count.Step();
            const int64_t nRows = count.ColumnInt(0);
            const bool bEmpty = nRows == 0 && NeedsRow(pTable->Name());
            std::cout << nRows << (bEmpty ? " (the console needs a row here)" : "") << "\n";
            bComplete = bComplete && !bEmpty;
        } catch (const CDBException&) {
            std::cout << "missing\n";
            bComplete = false;
        }
    }
    return bComplete;
}

// Prints the version, the integrity and the row count of every table; false
// when the file is not usable by this console.
bool PrintFile(const std::string& strPath, const char* strName,
               const std::vector<const CDBTable*>& tables, int32_t nRequired) {
    std::string strError;
    auto pConnection = CDBConnection::Open(strPath, strError);
    if (!pConnection) {
        std::cout << strName << ": cannot be opened: " << strError << "\n";
        return false;
    }
    const bool bIntact = CDBRepair::PassesIntegrityCheck(strPath);
    bool bUsable = bIntact;
    try {
        int32_t nVersion = CDBStore::ReadDBVersion(*pConnection);
        bUsable = bUsable && nVersion == nRequired;
        std::cout << strName << ": version " << nVersion
                  << (nVersion == nRequired
                          ? ""
                          : " (this console needs version " + std::to_string(nRequired) + ")")
                  << "\n";
    } catch (const CDBException& exception) {
        std::cout << strName << ": no version: " << exception.what() << "\n";
        bUsable = false;
    }
    if (!bIntact)
        std::cout << "  integrity check: FAILED\n";
    return PrintTables(*pConnection, tables) && bUsable;
}

void PrintRecoverySteps(const std::string& strDirectory) {
    std::cout << "\nThis installation cannot be used as it is. To recover, stop the console and\n"
                 "either restore a backup:\n"
                 "    TARN_HOME="
              << strDirectory
              << " tarn-admin restore BACKUP-DIR\n"
                 "or put back the compacted copy that the console keeps of its last good\n"
                 "configuration file:\n"
                 "    cp "
              << strDirectory << kConfigFile << "_BAK " << strDirectory << kConfigFile
              << "\n"
                 "A file of an older version is converted with: tarn-admin convert "
              << strDirectory << "\n";
}

int RunCheckIn(const std::string& strDirectory) {
    bool bUsable = PrintFile(strDirectory + kConfigFile, kConfigFile,
                             CDBSchema::ConfigurationTables(), CDBSchema::kConfigVersion);
    bUsable = PrintFile(strDirectory + kHistoryFile, kHistoryFile, CDBSchema::HistoryTables(),
                        CDBSchema::kHistoryVersion) &&
              bUsable;
    if (bUsable)
        PrintAuditionsThatCannotRun(strDirectory);
    else
        PrintRecoverySteps(strDirectory);
    return bUsable ? 0 : 1;
}

} // namespace

int RunInit(const AdminArgs& args) {
    std::string strDirectory;
    if (!DirectoryArgument(args, "init DIR", strDirectory))
        return 2;
    return RunInitIn(strDirectory);
}

int RunConvert(const AdminArgs& args) {
    std::string strDirectory;
    if (!DirectoryArgument(args, "convert DIR", strDirectory))
        return 2;
    CInstallationLock lock;
    if (!LockInstallation(strDirectory, lock))
        return 1;
    return RunConvertIn(strDirectory);
}

int RunCheck(const AdminArgs& args) {
    std::string strDirectory;
    if (!DirectoryArgument(args, "check DIR", strDirectory))
        return 2;
    return RunCheckIn(strDirectory);
}
