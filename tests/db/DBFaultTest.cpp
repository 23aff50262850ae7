// Faults of the file system under the database layer: a write-protected file,
// a file locked by another program, and a full disk during a store and during
// a conversion. Write protection and a full disk are simulated by a VFS of
// the test (root may write any file, and no privileges are needed).
#include "DBFixtureBuilder.h"
#include "DBTestSupport.h"
#include "DBVersionCheck.h"
#include "FaultVfs.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class DBFaultTest : public DBEngineTest {
protected:
    void SetUp() override {
        FaultVfs::Install();
        FaultVfs::Reset();
        DBEngineTest::SetUp();
    }
    void TearDown() override {
        FaultVfs::Reset();
        DBEngineTest::TearDown();
    }
    void Reopen() {
        m_pEngine = std::make_unique<CDBEngineTARN>(&m_reporter);
        m_pEngine->SetConversionPause(std::chrono::milliseconds(0));
        bool bConfig = false, bHistory = false;
        ASSERT_TRUE(m_pEngine->Open(m_files.Config, m_files.History, bConfig, bHistory));
    }
};

DBNotification NewNotification() {
    DBNotification notification;
    notification.NOTIFICATION_ID = DB_KEY_NEW;
    notification.NAME = std::string(200, 'n');
    notification.SMS.RECIPIENT = std::string(200, 'r');
    notification.SMTP.MAILTEXT = std::string(250, 'm');
    return notification;
}

} // namespace

TEST_F(DBFaultTest, WriteProtectedFileReadsButRefusesStores) {
    DBNotifyProfile profile{DB_KEY_NEW, "vorher", ""};
    ASSERT_TRUE(Engine().SetNotifyProfile(profile));
    CloseEngine();
    FaultVfs::SetReadOnlySuffix("TARN.MDB");
    Reopen();
    DBNotifyProfile read;
    EXPECT_TRUE(Engine().GetNotifyProfile(profile.PROFILE_ID, read));
    read.NAME = "nachher";
    EXPECT_FALSE(Engine().SetNotifyProfile(read));
    std::vector<std::string> errors = m_reporter.Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Funktion:   \"SetNotifyProfile\""), std::string::npos);
    EXPECT_NE(errors[0].find("readonly"), std::string::npos);
    DBNotification notification = NewNotification();
    EXPECT_FALSE(Engine().SetNotification(notification));
    EXPECT_EQ(notification.NOTIFICATION_ID, DB_KEY_NEW);
    // The history file is still writable.
    DBHEvent event;
    event.EVENT_ID = DB_KEY_NEW;
    EXPECT_TRUE(Engine().SetEventEntry(event));
    CloseEngine();
    FaultVfs::Reset();
    EXPECT_EQ(QueryText(m_files.Config, "SELECT NAME FROM NOTIFY_PROFILES"), "vorher");
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM NOTIFICATIONS"), 0);
}

TEST_F(DBFaultTest, FileLockedByAnotherProgram) {
    sqlite3* pOther = nullptr;
    ASSERT_EQ(sqlite3_open(m_files.Config.c_str(), &pOther), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(pOther, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    DBNotification notification = NewNotification();
    EXPECT_FALSE(Engine().SetNotification(notification));
    DBConfiguration configuration;
    EXPECT_FALSE(Engine().GetConfiguration(configuration));
    std::vector<std::string> errors = m_reporter.Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("\"SetNotification\""), std::string::npos);
    EXPECT_NE(errors[0].find("database is locked"), std::string::npos);
    EXPECT_NE(errors[1].find("\"GetConfiguration\""), std::string::npos);
    sqlite3_exec(pOther, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(pOther);
    // Once the lock is gone the same front works again.
    EXPECT_TRUE(Engine().GetConfiguration(configuration));
    EXPECT_TRUE(Engine().SetNotification(notification));
}

TEST_F(DBFaultTest, FullDiskDuringAStoreLeavesNothingHalfWritten) {
    int nFailures = 0;
    bool bStored = false;
    for (int64_t nBudget = 0; !bStored && nBudget < 200000; nBudget += 256) {
        m_reporter.Clear();
        FaultVfs::SetWriteBudget(nBudget);
        DBNotification notification = NewNotification();
        bStored = Engine().SetNotification(notification);
        FaultVfs::SetWriteBudget(-1);
        // Either all seven rows or none: never a notification without its channels.
        int64_t nMain = QueryInt(m_files.Config, "SELECT COUNT(*) FROM NOTIFICATIONS");
        int64_t nChannels = QueryInt(
            m_files.Config, "SELECT (SELECT COUNT(*) FROM NOTIFICATIONS_SMS) + (SELECT COUNT(*) "
                            "FROM NOTIFICATIONS_MS_MAIL) + (SELECT COUNT(*) FROM "
                            "NOTIFICATIONS_FAX) + (SELECT COUNT(*) FROM NOTIFICATIONS_PRINTER) + "
                            "(SELECT COUNT(*) FROM NOTIFICATIONS_SMTP) + (SELECT COUNT(*) FROM "
                            "NOTIFICATIONS_SNMP)");
        EXPECT_EQ(nChannels, 6 * nMain) << "budget " << nBudget;
        EXPECT_EQ(nMain, bStored ? 1 : 0) << "budget " << nBudget;
        if (bStored)
            break;
        ++nFailures;
        EXPECT_EQ(notification.NOTIFICATION_ID, DB_KEY_NEW);
        std::vector<std::string> errors = m_reporter.Errors();
        ASSERT_EQ(errors.size(), 1u) << "budget " << nBudget;
        EXPECT_NE(errors[0].find("Funktion:   \"SetNotification\""), std::string::npos);
        EXPECT_NE(errors[0].find("full"), std::string::npos) << errors[0];
    }
    EXPECT_TRUE(bStored);
    EXPECT_GT(nFailures, 2);
    EXPECT_EQ(QueryText(m_files.Config, "PRAGMA integrity_check"), "ok");
}

TEST_F(DBFaultTest, FullDiskDuringAConversionRollsEveryStepBack) {
    CloseEngine();
    ::unlink(m_files.Config.c_str());
    BuildConfigFile(m_files.Config, 3);
    for (int i = 0; i < 5; ++i)
        AddOldNotification(m_files.Config, "N" + std::to_string(i));
    const SchemaDescription before = DescribeSchema(m_files.Config);
    int nFailures = 0;
    bool bConverted = false;
    for (int64_t nBudget = 0; !bConverted && nBudget < 400000; nBudget += 4096) {
        Reopen();
        m_reporter.Clear();
        FaultVfs::SetWriteBudget(nBudget);
        bConverted = CheckDatabaseVersions(Engine(), m_reporter, "TARN");
        FaultVfs::SetWriteBudget(-1);
        CloseEngine();
        if (bConverted)
            break;
        ++nFailures;
        EXPECT_EQ(QueryInt(m_files.Config, "SELECT DB_VERSION FROM A_SYSTEM"), 3);
        EXPECT_EQ(Difference(DescribeSchema(m_files.Config), before), "") << "budget " << nBudget;
        std::vector<std::string> errors = m_reporter.Errors();
        ASSERT_FALSE(errors.empty());
        EXPECT_NE(errors.back().find("full"), std::string::npos) << errors.back();
        ASSERT_EQ(m_reporter.ShownErrors().size(), 1u);
        EXPECT_NE(m_reporter.ShownErrors()[0].find("Aktuelle Version:\t3"), std::string::npos)
            << m_reporter.ShownErrors()[0];
    }
    EXPECT_TRUE(bConverted);
    EXPECT_GT(nFailures, 0);
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT DB_VERSION FROM A_SYSTEM"), 10);
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM NOTIFICATIONS_SNMP"), 5);
}

TEST_F(DBFaultTest, FullDiskWhileAddingHistoryEvents) {
    FaultVfs::SetWriteBudget(0);
    DBHEvent event;
    event.EVENT_ID = DB_KEY_NEW;
    EXPECT_FALSE(Engine().SetEventEntry(event));
    EXPECT_EQ(event.EVENT_ID, DB_KEY_NEW);
    FaultVfs::SetWriteBudget(-1);
    ASSERT_EQ(m_reporter.Errors().size(), 1u);
    EXPECT_NE(m_reporter.Errors()[0].find("\"SetEventEntry\""), std::string::npos);
    EXPECT_TRUE(Engine().SetEventEntry(event));
    EXPECT_EQ(event.EVENT_ID, 1);
}
