// tarn-admin init, convert and check: create a new installation directory,
// bring its configuration file up to the current version as the console does
// at start, and show the versions and row counts of both database files.
#include "AdminCommands.h"

#include "CDBConnection.h"
#include "CDBEngineTARN.h"
#include "CDBSchema.h"
#include "CDBStore.h"
#include "CHeadlessDBReporter.h"
#include "DBMessages.h"
#include "DBVersionCheck.h"
#include "RegistryFile.h"
#include "StringTable.h"

#include <filesystem>
#include <iostream>
#include <system_error>

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
    bool bCreated = CDBSchema::CreateConfigurationFile(
        strConfig, configuration, CDBSchema::DefaultNotifyServicesConfig(), strError);
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

// Prints the version and the row count of every table; false when the file
// cannot be read.
bool PrintFile(const std::string& strPath, const char* strName,
               const std::vector<const CDBTable*>& tables, int32_t nRequired, bool& bCurrent) {
    std::string strError;
    auto pConnection = CDBConnection::Open(strPath, strError);
    if (!pConnection) {
        std::cout << strName << ": cannot be opened: " << strError << "\n";
        return false;
    }
    try {
        int32_t nVersion = CDBStore::ReadDBVersion(*pConnection);
        bCurrent = bCurrent && nVersion == nRequired;
        std::cout << strName << ": version " << nVersion
                  << (nVersion == nRequired
                          ? ""
                          : " (this console needs version " + std::to_string(nRequired) + ")")
                  << "\n";
    } catch (const CDBException& exception) {
        std::cout << strName << ": no version: " << exception.what() << "\n";
        bCurrent = false;
    }
    for (const CDBTable* pTable : tables) {
        std::cout << "  " << pTable->Name() << ": ";
        try {
            CDBStatement count = pConnection->Prepare("SELECT COUNT(*) FROM " + pTable->Name());
            count.Step();
            std::cout << count.ColumnInt(0) << "\n";
        } catch (const CDBException&) {
            std::cout << "missing\n";
        }
    }
    return true;
}

int RunCheckIn(const std::string& strDirectory) {
    bool bCurrent = true;
    bool bReadable =
        PrintFile(strDirectory + kConfigFile, kConfigFile, CDBSchema::ConfigurationTables(),
                  CDBSchema::kConfigVersion, bCurrent);
    bReadable = PrintFile(strDirectory + kHistoryFile, kHistoryFile, CDBSchema::HistoryTables(),
                          CDBSchema::kHistoryVersion, bCurrent) &&
                bReadable;
    return bReadable && bCurrent ? 0 : 1;
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
    return RunConvertIn(strDirectory);
}

int RunCheck(const AdminArgs& args) {
    std::string strDirectory;
    if (!DirectoryArgument(args, "check DIR", strDirectory))
        return 2;
    return RunCheckIn(strDirectory);
}
