// tarn-admin init, convert and check, run as the built program.
#include "CDBEngineTARN.h"
#include "DBFixtureBuilder.h"
#include "DBTestSupport.h"
#include "DBVersionCheck.h"
#include "RegistryFile.h"
#include "tarn/SmsCentreNumbers.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

struct AdminRun {
    int nStatus = -1;
    std::string strOut;
    std::string strErr;
};

AdminRun RunAdmin(const CTempDir& scratch, const std::string& strArgs) {
    const std::string strErrFile = scratch.File("stderr.txt");
    const std::string strCommand =
        std::string(TARN_BIN_DIR) + "/tarn-admin " + strArgs + " 2>" + strErrFile;
    AdminRun run;
    FILE* pPipe = ::popen(strCommand.c_str(), "r");
    if (!pPipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pPipe)) > 0)
        run.strOut.append(buffer, n);
    int nStatus = ::pclose(pPipe);
    run.nStatus = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    std::ifstream err(strErrFile);
    run.strErr.assign(std::istreambuf_iterator<char>(err), {});
    return run;
}

bool Contains(const std::string& strText, const std::string& strPart) {
    return strText.find(strPart) != std::string::npos;
}

} // namespace

TEST(AdminDatabase, InitCreatesAnInstallationTheConsoleAccepts) {
    CTempDir scratch;
    const std::string strHome = scratch.File("install/tarn");
    AdminRun run = RunAdmin(scratch, "init " + strHome);
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    const std::string strConfig = strHome + "/TARN.MDB";
    const std::string strHistory = strHome + "/HISTORY.MDB";
    EXPECT_TRUE(std::filesystem::is_directory(strHome + "/data"));
    EXPECT_EQ(QueryInt(strConfig, "SELECT DB_VERSION FROM A_SYSTEM"), 10);
    EXPECT_EQ(QueryInt(strHistory, "SELECT DB_VERSION FROM A_SYSTEM"), 2);
    EXPECT_EQ(QueryText(strConfig, "SELECT DATA_DIRECTORY FROM CONFIGURATION"), strHome + "/data/");
    EXPECT_EQ(QueryText(strConfig, "SELECT PROTOCOLFILE FROM CONFIGURATION"),
              strHome + "/protocol.log");
    for (const char* pTable : {"NOTIFY_SERVICE_CFG_FAX", "NOTIFY_SERVICE_CFG_MSMAIL",
                               "NOTIFY_SERVICE_CFG_SMS", "NOTIFY_SERVICE_CFG_SMTP"})
        EXPECT_EQ(QueryInt(strConfig, std::string("SELECT COUNT(*) FROM ") + pTable), 1);

    // The key exists without values, so the console can write its setting back.
    std::ifstream registry(strHome + "/registry.ini");
    std::string strRegistry((std::istreambuf_iterator<char>(registry)), {});
    EXPECT_EQ(strRegistry.find("[SOFTWARE\\velda\\TARN!]"), 0u) << strRegistry;
    EXPECT_EQ(strRegistry.find('='), std::string::npos);
    CRegistryFile file(strHome + "/registry.ini");
    EXPECT_TRUE(file.KeyExists(kTarnRegistryKey));
    EXPECT_TRUE(file.WriteString(kTarnRegistryKey, "ReactivateSurv", "0"));

    CRecordingReporter reporter;
    CDBEngineTARN engine(&reporter);
    bool bConfig = false, bHistory = false;
    ASSERT_TRUE(engine.Open(strConfig, strHistory, bConfig, bHistory));
    EXPECT_TRUE(CheckDatabaseVersions(engine, reporter, "TARN"));
    DBNotifySrvConfig services;
    EXPECT_TRUE(engine.GetNotifyServicesConfig(services));
    EXPECT_EQ(services.SMS_GATEWAY_EPLUS, kSmsCentreEPlus);
    EXPECT_TRUE(reporter.Errors().empty());
}

TEST(AdminDatabase, InitRefusesToOverwriteAnyOfItsFiles) {
    for (const char* pExisting : {"TARN.MDB", "HISTORY.MDB", "registry.ini"}) {
        CTempDir scratch;
        const std::string strHome = scratch.File("home");
        std::filesystem::create_directories(strHome);
        std::ofstream(strHome + "/" + pExisting) << "mine";
        AdminRun run = RunAdmin(scratch, "init " + strHome);
        EXPECT_EQ(run.nStatus, 1) << pExisting;
        EXPECT_TRUE(Contains(run.strErr, pExisting)) << run.strErr;
        std::ifstream kept(strHome + "/" + pExisting);
        std::string strKept;
        kept >> strKept;
        EXPECT_EQ(strKept, "mine");
        size_t nFiles = 0;
        for (const auto& entry : std::filesystem::directory_iterator(strHome)) {
            (void)entry;
            ++nFiles;
        }
        EXPECT_EQ(nFiles, 1u) << pExisting;
    }
}

TEST(AdminDatabase, WrongUsage) {
    CTempDir scratch;
    EXPECT_EQ(RunAdmin(scratch, "init").nStatus, 2);
    EXPECT_EQ(RunAdmin(scratch, "convert a b").nStatus, 2);
    EXPECT_EQ(RunAdmin(scratch, "check").nStatus, 2);
}

TEST(AdminDatabase, ConvertAVersionThreeInstallation) {
    CTempDir scratch;
    const std::string strHome = scratch.File("home");
    ASSERT_EQ(RunAdmin(scratch, "init " + strHome).nStatus, 0);
    const std::string strConfig = strHome + "/TARN.MDB";
    std::filesystem::remove(strConfig);
    BuildConfigFile(strConfig, 3);
    for (int i = 0; i < 5; ++i)
        AddOldNotification(strConfig, "N" + std::to_string(i));
    AdminRun run = RunAdmin(scratch, "convert " + strHome);
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_TRUE(Contains(run.strOut, "TARN.MDB: version 10 (converted from version 3)"))
        << run.strOut;
    EXPECT_TRUE(Contains(run.strErr, "Möchten Sie die Konfigurationsdatei jetzt konvertieren?"));
    EXPECT_EQ(QueryInt(strConfig, "SELECT COUNT(*) FROM NOTIFICATIONS_SMTP"), 5);
    EXPECT_EQ(QueryInt(strConfig, "SELECT COUNT(*) FROM NOTIFICATIONS_SNMP"), 5);
    EXPECT_EQ(QueryText(strConfig, "SELECT GATEWAY_NATEL_D FROM NOTIFY_SERVICE_CFG_SMS"),
              kSmsCentreNatelD);
    // A second run has nothing to do.
    AdminRun again = RunAdmin(scratch, "convert " + strHome);
    EXPECT_EQ(again.nStatus, 0);
    EXPECT_TRUE(Contains(again.strOut, "TARN.MDB: version 10\n")) << again.strOut;
}

TEST(AdminDatabase, ConvertReportsWhatStopsTheStart) {
    struct Case {
        int nVersion;
        const char* strMessage;
    };
    for (Case c : {Case{2, "Aktuelle Version:\t2"},
                   Case{11, "Die Konfigurationsdatei ist nicht kompatibel mit dieser Version."}}) {
        CTempDir scratch;
        const std::string strHome = scratch.File("home");
        ASSERT_EQ(RunAdmin(scratch, "init " + strHome).nStatus, 0);
        std::filesystem::remove(strHome + "/TARN.MDB");
        BuildConfigFile(strHome + "/TARN.MDB", c.nVersion);
        AdminRun run = RunAdmin(scratch, "convert " + strHome);
        EXPECT_EQ(run.nStatus, 1);
        EXPECT_TRUE(Contains(run.strErr, c.strMessage)) << run.strErr;
        EXPECT_EQ(QueryInt(strHome + "/TARN.MDB", "SELECT DB_VERSION FROM A_SYSTEM"), c.nVersion);
    }
    CTempDir empty;
    AdminRun missing = RunAdmin(empty, "convert " + empty.Path());
    EXPECT_EQ(missing.nStatus, 1);
    EXPECT_TRUE(Contains(missing.strErr, "Konfigurationsdatei nicht gefunden.")) << missing.strErr;
}

TEST(AdminDatabase, CheckPrintsVersionsAndRowCounts) {
    CTempDir scratch;
    const std::string strHome = scratch.File("home");
    ASSERT_EQ(RunAdmin(scratch, "init " + strHome).nStatus, 0);
    ExecSQL(strHome + "/HISTORY.MDB", "INSERT INTO PROBLEMS (PROBLEM_STATUS) VALUES (1), (4)");
    AdminRun run = RunAdmin(scratch, "check " + strHome);
    EXPECT_EQ(run.nStatus, 0);
    EXPECT_TRUE(Contains(run.strOut, "TARN.MDB: version 10\n")) << run.strOut;
    EXPECT_TRUE(Contains(run.strOut, "HISTORY.MDB: version 2\n"));
    EXPECT_TRUE(Contains(run.strOut, "  PROBLEMS: 2\n"));
    EXPECT_TRUE(Contains(run.strOut, "  NOTIFY_SERVICE_CFG_SMS: 1\n"));
    EXPECT_TRUE(Contains(run.strOut, "  AUDITIONS: 0\n"));

    std::filesystem::remove(strHome + "/TARN.MDB");
    BuildConfigFile(strHome + "/TARN.MDB", 6);
    AdminRun old = RunAdmin(scratch, "check " + strHome);
    EXPECT_EQ(old.nStatus, 1);
    EXPECT_TRUE(Contains(old.strOut, "TARN.MDB: version 6 (this console needs version 10)"));
    EXPECT_TRUE(Contains(old.strOut, "  NOTIFICATIONS_SNMP: missing\n")) << old.strOut;
}
