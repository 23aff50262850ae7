// tarn-admin init, convert, check, backup and restore, run as the built program.
#include "CDBConnection.h"
#include "CDBEngineTARN.h"
#include "CDBException.h"
#include "DBFixtureBuilder.h"
#include "DBTestSupport.h"
#include "DBVersionCheck.h"
#include "RegistryFile.h"
#include "tarn/SmsCentreNumbers.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

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

namespace {

// The installation that backup and restore work on, for the commands run by
// this test.
class ScopedTarnHome {
public:
    explicit ScopedTarnHome(const std::string& strHome) {
        ::setenv("TARN_HOME", strHome.c_str(), 1);
    }
    ~ScopedTarnHome() { ::unsetenv("TARN_HOME"); }
};

void WriteText(const std::string& strPath, const std::string& strText) {
    std::ofstream(strPath, std::ios::binary | std::ios::trunc) << strText;
}

std::string ReadText(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(AdminDatabase, BackupWhileTheConsoleWritesAndRestoreWhenItIsStopped) {
    CTempDir scratch;
    const std::string strHome = scratch.File("home");
    ASSERT_EQ(RunAdmin(scratch, "init " + strHome).nStatus, 0);
    std::filesystem::create_directories(strHome + "/Plugins");
    WriteText(strHome + "/Plugins/libcheck.so", "plug-in bytes");
    WriteText(strHome + "/mailprofiles.ini", "[Profiles]\n");
    ScopedTarnHome home(strHome);

    // A writer in transactions of ten rows stands in for the running console.
    std::atomic<bool> bStop{false};
    std::thread writer([&] {
        std::string strError;
        auto pHistory = CDBConnection::Open(strHome + "/HISTORY.MDB", strError);
        while (pHistory && !bStop) {
            try {
                pHistory->Execute("BEGIN; INSERT INTO PROBLEMS (PROBLEM_STATUS) VALUES "
                                  "(1),(1),(1),(1),(1),(1),(1),(1),(1),(1); COMMIT;");
            } catch (const CDBException&) {
                if (pHistory->InTransaction())
                    pHistory->Execute("ROLLBACK");
            }
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string strBackup = scratch.File("backup");
    AdminRun backup = RunAdmin(scratch, "backup " + strBackup);
    // Restoring under a process that has the databases open is refused.
    AdminRun refused = RunAdmin(scratch, "restore " + strBackup);
    bStop = true;
    writer.join();
    ASSERT_EQ(backup.nStatus, 0) << backup.strErr;
    EXPECT_EQ(refused.nStatus, 1);
    EXPECT_TRUE(Contains(refused.strErr, "stop it first")) << refused.strErr;

    for (const char* pFile : {"/TARN.MDB", "/HISTORY.MDB"})
        EXPECT_EQ(QueryText(strBackup + pFile, "PRAGMA integrity_check"), "ok") << pFile;
    const int64_t nSaved = QueryInt(strBackup + "/HISTORY.MDB", "SELECT COUNT(*) FROM PROBLEMS");
    EXPECT_GT(nSaved, 0);
    EXPECT_EQ(nSaved % 10, 0) << "a copy holds whole transactions only";
    EXPECT_EQ(ReadText(strBackup + "/Plugins/libcheck.so"), "plug-in bytes");
    EXPECT_EQ(ReadText(strBackup + "/registry.ini"), ReadText(strHome + "/registry.ini"));
    EXPECT_EQ(std::filesystem::status(strBackup).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_EQ(RunAdmin(scratch, "backup " + strBackup).nStatus, 1) << "never into a used folder";

    ExecSQL(strHome + "/HISTORY.MDB", "DELETE FROM PROBLEMS");
    WriteText(strHome + "/registry.ini", "changed\n");
    AdminRun restore = RunAdmin(scratch, "restore " + strBackup);
    ASSERT_EQ(restore.nStatus, 0) << restore.strErr;
    EXPECT_EQ(QueryInt(strHome + "/HISTORY.MDB", "SELECT COUNT(*) FROM PROBLEMS"), nSaved);
    EXPECT_EQ(QueryText(strHome + "/HISTORY.MDB", "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(ReadText(strHome + "/registry.ini"), ReadText(strBackup + "/registry.ini"));
    EXPECT_EQ(RunAdmin(scratch, "check " + strHome).nStatus, 0);
}

TEST(AdminDatabase, RestoreRefusesADamagedOrMissingBackup) {
    CTempDir scratch;
    const std::string strHome = scratch.File("home");
    ASSERT_EQ(RunAdmin(scratch, "init " + strHome).nStatus, 0);
    ScopedTarnHome home(strHome);
    std::filesystem::create_directories(scratch.File("empty"));
    AdminRun run = RunAdmin(scratch, "restore " + scratch.File("empty"));
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_TRUE(Contains(run.strErr, "nothing was changed")) << run.strErr;
    EXPECT_EQ(QueryInt(strHome + "/TARN.MDB", "SELECT DB_VERSION FROM A_SYSTEM"), 10);
}

TEST(AdminDatabase, CheckFailsOnADamagedPageOrAMissingRowAndSaysHowToRecover) {
    CTempDir scratch;
    const std::string strHome = scratch.File("home");
    ASSERT_EQ(RunAdmin(scratch, "init " + strHome).nStatus, 0);
    const std::string strHistory = strHome + "/HISTORY.MDB";
    ExecSQL(strHistory, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                        "WHERE i < 2000) INSERT INTO PROBLEMS (PROBLEM_STATUS) SELECT 1 FROM n");
    const int64_t nPageSize = QueryInt(strHistory, "PRAGMA page_size");
    const int64_t nPages = QueryInt(strHistory, "PRAGMA page_count");
    {
        // The last page holds rows of PROBLEMS; its cells become noise.
        std::fstream file(strHistory, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp((nPages - 1) * nPageSize + 8);
        file << std::string(static_cast<size_t>(nPageSize) - 16, '\x5a');
    }
    AdminRun damaged = RunAdmin(scratch, "check " + strHome);
    EXPECT_EQ(damaged.nStatus, 1);
    EXPECT_TRUE(Contains(damaged.strOut, "  integrity check: FAILED\n")) << damaged.strOut;
    EXPECT_TRUE(Contains(damaged.strOut, "tarn-admin restore BACKUP-DIR")) << damaged.strOut;
    EXPECT_TRUE(Contains(damaged.strOut, "TARN.MDB_BAK")) << damaged.strOut;

    CTempDir other;
    const std::string strOther = other.File("home");
    ASSERT_EQ(RunAdmin(other, "init " + strOther).nStatus, 0);
    ExecSQL(strOther + "/TARN.MDB", "DELETE FROM CONFIGURATION");
    AdminRun noRow = RunAdmin(other, "check " + strOther);
    EXPECT_EQ(noRow.nStatus, 1);
    EXPECT_TRUE(Contains(noRow.strOut, "  CONFIGURATION: 0 (the console needs a row here)\n"))
        << noRow.strOut;
}

TEST(AdminDatabase, CheckListsAuditionsThatCannotRun) {
    CTempDir scratch;
    const std::string strHome = scratch.File("home");
    ASSERT_EQ(RunAdmin(scratch, "init " + strHome).nStatus, 0);
    ExecSQL(strHome + "/TARN.MDB",
            "INSERT INTO AUDITIONS (AUDITION_ID, NAME, AUDITION_TYPE) VALUES "
            "(7, 'Unbekannt', 9), (8, 'Ohne Angaben', 5), (9, 'Ohne Plug-In', 6);"
            "INSERT INTO AUDITIONS_PLUGIN (AUDITION_ID, PLUGIN_TYPE) VALUES (9, 40)");
    AdminRun run = RunAdmin(scratch, "check " + strHome);
    EXPECT_EQ(run.nStatus, 0) << "the console starts; these auditions say why they do not run";
    EXPECT_TRUE(Contains(run.strOut,
                         "auditions that cannot run:\n"
                         "  7 Unbekannt: unbekannter Überwachungstyp 9\n"
                         "  8 Ohne Angaben: die Angaben ihres Typs fehlen in der "
                         "Konfigurationsdatei\n"
                         "  9 Ohne Plug-In: kein Plug-In des Typs 40 ist installiert\n"))
        << run.strOut;
}
