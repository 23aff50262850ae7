// Repair and compaction of the configuration file before it is opened.
#include "CDBRepair.h"
#include "DBTestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

std::string ReadBytes(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void FillAndThin(const DBFiles& files) {
    ExecSQL(files.Config, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
                          "i < 2000) INSERT INTO NOTIFY_PROFILES (NAME, DESCRIPTION) SELECT "
                          "'p' || i, hex(randomblob(100)) FROM n");
    ExecSQL(files.Config, "DELETE FROM NOTIFY_PROFILES WHERE PROFILE_ID > 10");
}

} // namespace

TEST(DBRepair, CompactsIntoTheBackupAndCopiesItBack) {
    CTempDir dir;
    DBFiles files = CreateFreshFiles(dir);
    FillAndThin(files);
    const auto nBefore = std::filesystem::file_size(files.Config);
    ASSERT_TRUE(CDBRepair::RepairAndCompactDatabase(files.Config));
    const std::string strBackup = files.Config + "_BAK";
    ASSERT_TRUE(std::filesystem::exists(strBackup));
    EXPECT_LT(std::filesystem::file_size(files.Config), nBefore);
    EXPECT_EQ(ReadBytes(files.Config), ReadBytes(strBackup));
    EXPECT_EQ(QueryInt(files.Config, "SELECT COUNT(*) FROM NOTIFY_PROFILES"), 10);
    EXPECT_EQ(QueryInt(files.Config, "SELECT DB_VERSION FROM A_SYSTEM"), 10);
    EXPECT_EQ(QueryText(files.Config, "PRAGMA integrity_check"), "ok");
    // A second run replaces the old backup.
    EXPECT_TRUE(CDBRepair::RepairAndCompactDatabase(files.Config));
}

TEST(DBRepair, DamagedFileIsNeverCopiedOverAndTheOldBackupStays) {
    CTempDir dir;
    DBFiles files = CreateFreshFiles(dir);
    ExecSQL(files.Config, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
                          "i < 3000) INSERT INTO NOTIFY_PROFILES (NAME, DESCRIPTION) SELECT "
                          "'p' || i, hex(randomblob(60)) FROM n");
    ExecSQL(files.Config, "CREATE INDEX extra ON NOTIFY_PROFILES (DESCRIPTION)");
    ASSERT_TRUE(CDBRepair::RepairAndCompactDatabase(files.Config));
    const std::string strBackup = files.Config + "_BAK";
    const std::string strGoodBackup = ReadBytes(strBackup);

    // Scramble pages in the middle of the file, leaving the header intact.
    {
        std::fstream file(files.Config, std::ios::in | std::ios::out | std::ios::binary);
        const auto nSize = std::filesystem::file_size(files.Config);
        for (auto nAt = nSize / 3; nAt < nSize * 2 / 3; nAt += 4096) {
            file.seekp(static_cast<std::streamoff>(nAt));
            file.write("\x0d\xff\xff\x00\x01\x02\x03\xfe\x11\x22\x33\x44", 12);
        }
    }
    const std::string strDamaged = ReadBytes(files.Config);
    EXPECT_FALSE(CDBRepair::PassesIntegrityCheck(files.Config));
    EXPECT_FALSE(CDBRepair::RepairAndCompactDatabase(files.Config));
    EXPECT_EQ(ReadBytes(files.Config), strDamaged);
    EXPECT_EQ(ReadBytes(strBackup), strGoodBackup);
}

TEST(DBRepair, NoFileOrNoDatabaseIsIgnored) {
    CTempDir dir;
    EXPECT_FALSE(CDBRepair::RepairAndCompactDatabase(dir.File("TARN.MDB")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("TARN.MDB")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("TARN.MDB_BAK")));
    std::ofstream(dir.File("TEXT.MDB")) << "not a database";
    EXPECT_FALSE(CDBRepair::RepairAndCompactDatabase(dir.File("TEXT.MDB")));
    EXPECT_EQ(ReadBytes(dir.File("TEXT.MDB")), "not a database");
}
