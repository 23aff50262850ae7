// The start-up version check and the conversion of files of earlier releases,
// built by the fixture builder for every version from 2 to 9 and 11.
#include "CDBSchema.h"
#include "DBFixtureBuilder.h"
#include "DBTestSupport.h"
#include "DBVersionCheck.h"
#include "tarn/SmsCentreNumbers.h"

#include <gtest/gtest.h>

namespace {

const char* kTitle = "velda TARN! 2.5";

// A fresh history file and a configuration file of the given version, with
// the engine opened on both.
class DBConversionFixture : public ::testing::Test {
protected:
    CTempDir m_dir;
    CTraceCapture m_trace{m_dir};
    CRecordingReporter m_reporter;
    DBFiles m_files;
    std::unique_ptr<CDBEngineTARN> m_pEngine;

    void Build(int nConfigVersion, int nHistoryVersion = 2) {
        m_files = CreateFreshFiles(m_dir);
        ::unlink(m_files.Config.c_str());
        BuildConfigFile(m_files.Config, nConfigVersion);
        if (nHistoryVersion != 2)
            ExecSQL(m_files.History,
                    "UPDATE A_SYSTEM SET DB_VERSION = " + std::to_string(nHistoryVersion));
    }
    void Open(DBPromptAnswer eAnswer = DBPromptAnswer::Yes) {
        m_reporter.Clear();
        m_reporter.SetAnswer(eAnswer);
        m_pEngine = std::make_unique<CDBEngineTARN>(&m_reporter);
        m_pEngine->SetConversionPause(std::chrono::milliseconds(0));
        bool bConfig = false, bHistory = false;
        ASSERT_TRUE(m_pEngine->Open(m_files.Config, m_files.History, bConfig, bHistory));
    }
    bool Check() { return CheckDatabaseVersions(*m_pEngine, m_reporter, kTitle); }
    void Close() { m_pEngine.reset(); }
    SchemaDescription FreshSchema() {
        CTempDir fresh;
        return DescribeSchema(CreateFreshFiles(fresh).Config);
    }
};

} // namespace

class DBConvertEveryVersionTest : public DBConversionFixture,
                                  public ::testing::WithParamInterface<int> {};

TEST_P(DBConvertEveryVersionTest, ConvertsToTheSchemaOfANewFileKeepingTheRows) {
    const int nVersion = GetParam();
    Build(nVersion);
    const int nFirst = AddOldNotification(m_files.Config, "alt eins");
    const int nSecond = AddOldNotification(m_files.Config, "alt zwei");
    const int nAudition = AddOldNetAudition(m_files.Config, "Router");
    Open();
    ASSERT_TRUE(Check());
    EXPECT_EQ(m_reporter.Questions().size(), 1u);
    EXPECT_EQ(m_reporter.QuestionCaptions().at(0), kTitle);
    EXPECT_TRUE(m_reporter.ShownErrors().empty());
    EXPECT_TRUE(m_reporter.Errors().empty());
    // One progress step per version step.
    EXPECT_EQ(m_reporter.ProgressRange(), 10 - nVersion);
    std::vector<int> expectedSteps;
    for (int i = 1; i <= 10 - nVersion; ++i)
        expectedSteps.push_back(i);
    EXPECT_EQ(m_reporter.ProgressSteps(), expectedSteps);
    EXPECT_EQ(m_reporter.ProgressText(), "Konvertierung wird durchgeführt...");
    EXPECT_EQ(m_reporter.ProgressEnds(), 1);

    // The old rows are complete records for the operations.
    for (int nID : {nFirst, nSecond}) {
        DBNotification notification;
        ASSERT_TRUE(m_pEngine->GetNotification(nID, notification)) << nID;
        EXPECT_EQ(notification.SMS.ACTIVE_BEGIN, 7);
        EXPECT_EQ(notification.SMTP.ACTIVE_BEGIN, 0);
        EXPECT_EQ(notification.SMTP.ACTIVE_END, 24);
        EXPECT_EQ(notification.SNMP.SPECIFIC_ID, 1);
        EXPECT_EQ(notification.SNMP.SPECIFIC_ID_RESOLVED, 2);
        EXPECT_EQ(notification.SNMP.SPECIFIC_ID_UNRESOLVED, 3);
        EXPECT_FALSE(notification.SMTP_ACTIVE);
        EXPECT_FALSE(notification.SNMP_ACTIVE);
    }
    DBAudition audition;
    ASSERT_TRUE(m_pEngine->GetAudition(nAudition, audition));
    EXPECT_EQ(audition.Net.SERVER_PATH, "router");
    EXPECT_EQ(audition.Net.TIMEOUT, 5);
    EXPECT_EQ(audition.Net.CHECK_INTERVAL, 2);
    DBNotifySrvConfig services;
    ASSERT_TRUE(m_pEngine->GetNotifyServicesConfig(services));
    EXPECT_EQ(services.SMS_RETRIES, 4);
    EXPECT_EQ(services.SMS_GATEWAY_D2, kSmsCentreD2);
    Close();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT DB_VERSION FROM A_SYSTEM"), 10);
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT GENERIC_ID FROM NOTIFICATIONS_SNMP LIMIT 1"), 6);
    EXPECT_EQ(Difference(DescribeSchema(m_files.Config), FreshSchema()), "");
    EXPECT_EQ(m_trace.Total(), 0) << m_trace.Text();
}

INSTANTIATE_TEST_SUITE_P(Versions3To9, DBConvertEveryVersionTest, ::testing::Range(3, 10));

TEST_F(DBConversionFixture, VersionThreeWithFiveNotifications) {
    Build(3);
    for (int i = 1; i <= 5; ++i)
        AddOldNotification(m_files.Config, "N" + std::to_string(i));
    Open();
    ASSERT_TRUE(Check());
    Close();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM NOTIFICATIONS_SMTP"), 5);
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM NOTIFICATIONS_SNMP"), 5);
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(DISTINCT NOTIFICATION_ID) FROM "
                                       "NOTIFICATIONS_SNMP WHERE NOTIFICATION_ID IN (SELECT "
                                       "NOTIFICATION_ID FROM NOTIFICATIONS)"),
              5);
    // Every SMS centre column holds its network's number, stored in the row.
    EXPECT_EQ(QueryText(m_files.Config, "SELECT GATEWAY_D1 || ',' || GATEWAY_D2 || ',' || "
                                        "GATEWAY_EPLUS || ',' || GATEWAY_QUIX || ',' || "
                                        "GATEWAY_NATEL_D FROM NOTIFY_SERVICE_CFG_SMS"),
              std::string(kSmsCentreD1) + "," + kSmsCentreD2 + "," + kSmsCentreEPlus + "," +
                  kSmsCentreQuix + "," + kSmsCentreNatelD);
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM NOTIFY_SERVICE_CFG_SMTP"), 1);
}

TEST_F(DBConversionFixture, VersionNineTakesExactlyOneStep) {
    Build(9);
    Open();
    ASSERT_TRUE(Check());
    EXPECT_EQ(m_reporter.ProgressSteps(), std::vector<int>{1});
    Close();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT DB_VERSION FROM A_SYSTEM"), 10);
    // The step only adds the two SNMP columns; the stored numbers stay.
    EXPECT_EQ(QueryText(m_files.Config, "SELECT GATEWAY_D1 FROM NOTIFY_SERVICE_CFG_SMS"), "0999");
}

TEST_F(DBConversionFixture, VersionTwoHasNoStepAndStaysUnchanged) {
    Build(2);
    const SchemaDescription before = DescribeSchema(m_files.Config);
    Open();
    EXPECT_FALSE(Check());
    EXPECT_EQ(m_reporter.Questions().size(), 1u);
    ASSERT_EQ(m_reporter.ShownErrors().size(), 1u);
    EXPECT_EQ(m_reporter.ShownErrors()[0],
              "Die Konvertierung ist fehlgeschlagen!\n\nAktuelle Version:\t2\nBenötigte "
              "Version:\t10");
    EXPECT_TRUE(m_reporter.Errors().empty()); // no engine error, just no step
    Close();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT DB_VERSION FROM A_SYSTEM"), 2);
    EXPECT_EQ(Difference(DescribeSchema(m_files.Config), before), "");
}

TEST_F(DBConversionFixture, NewerFileStopsWithoutAQuestion) {
    Build(11);
    Open();
    EXPECT_FALSE(Check());
    EXPECT_TRUE(m_reporter.Questions().empty());
    EXPECT_EQ(m_reporter.ShownErrors(),
              std::vector<std::string>{"Die Konfigurationsdatei ist nicht kompatibel mit dieser "
                                       "Version."});
}

TEST_F(DBConversionFixture, DecliningLeavesTheFileAlone) {
    for (DBPromptAnswer eAnswer : {DBPromptAnswer::No, DBPromptAnswer::Cancel}) {
        Build(5);
        Open(eAnswer);
        EXPECT_FALSE(Check());
        EXPECT_TRUE(m_reporter.ShownErrors().empty());
        EXPECT_EQ(m_reporter.ProgressRange(), -1);
        Close();
        EXPECT_EQ(QueryInt(m_files.Config, "SELECT DB_VERSION FROM A_SYSTEM"), 5);
        ::unlink(m_files.Config.c_str());
        ::unlink(m_files.History.c_str());
    }
}

class DBHistoryVersionTest : public DBConversionFixture,
                             public ::testing::WithParamInterface<int> {};

TEST_P(DBHistoryVersionTest, WrongHistoryVersionStopsAfterTheConversion) {
    Build(8, GetParam());
    Open();
    EXPECT_FALSE(Check());
    EXPECT_EQ(m_reporter.ShownErrors(),
              std::vector<std::string>{"Die Historiendatei nicht kompatibel mit dieser Version."});
    Close();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT DB_VERSION FROM A_SYSTEM"), 10);
}

INSTANTIATE_TEST_SUITE_P(OneAndThree, DBHistoryVersionTest, ::testing::Values(1, 3));

TEST_F(DBConversionFixture, CurrentFilesPassWithoutAnyMessage) {
    Build(10);
    Open();
    EXPECT_TRUE(Check());
    EXPECT_TRUE(m_reporter.Questions().empty());
    EXPECT_TRUE(m_reporter.ShownErrors().empty());
    EXPECT_FALSE(m_pEngine->ConvertDatabase(11)); // above the current version: refused at once
    EXPECT_EQ(m_reporter.ProgressRange(), -1);
}

TEST_F(DBConversionFixture, ConvertingToAnOlderTargetFails) {
    Build(6);
    Open();
    EXPECT_FALSE(m_pEngine->ConvertDatabase(5));
    Close();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT DB_VERSION FROM A_SYSTEM"), 6);
}
