// The schemas of new files: every table and column with its type and
// default, the named indexes, the versions and the filled one-row tables.
#include "CDBRAuditions.h"
#include "CDBSchema.h"
#include "DBFixtureBuilder.h"
#include "DBTestSupport.h"
#include "tarn/SmsCentreNumbers.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

std::string ColumnOrder(const std::string& strPath, const std::string& strTable) {
    return QueryText(strPath,
                     "SELECT group_concat(name, ',') FROM pragma_table_info('" + strTable + "')");
}

} // namespace

TEST(DBSchema, ConfigurationFileHasEveryTableInStoredOrder) {
    CTempDir dir;
    DBFiles files = CreateFreshFiles(dir);
    struct Case {
        const char* strTable;
        const char* strColumns;
    };
    const Case cases[] = {
        {"A_SYSTEM", "DB_VERSION"},
        {"CONFIGURATION", "PROTOCOLFILE,DATA_DIRECTORY"},
        {"AUDITIONS",
         "ACTION_RESTART_APP,ACTION_RESTART_SERVICE,ACTION_RESTART_SYSTEM,"
         "ACTION_SPECIAL_MASK,ACTIVE,ACTIVE_BEGIN,ACTIVE_END,AUDITION_ID,AUDITION_TYPE,"
         "DESCRIPTION,NAME,MAX_DURATION,RESTART_PARAMETERS,NOTIFY_ALWAYS,"
         "NOTIFY_FAILURE,NOTIFY_SUCCESS"},
        {"AUDITIONS_APP", "AUDITION_ID,APP_MODULE,SERVER_PATH"},
        {"AUDITIONS_SERVICE",
         "AUDITION_ID,SERVER_PATH,SERVICE_MODULE,SERVICE_NAME,SERVICE_DISPLAYNAME"},
        {"AUDITIONS_LOGFILE", "AUDITION_ID,CHECK_INTERVAL,CHECK_TYPE,LOGFILE"},
        {"AUDITIONS_NTEVTLOG", "AUDITION_ID,SERVER_PATH,AUDIT_APPLOG,AUDIT_ERROR,AUDIT_SYSTEMLOG,"
                               "AUDIT_WARNING,FILTER_ID,FILTER_SOURCE,FILTER_TYPE"},
        {"AUDITIONS_NET", "AUDITION_ID,SERVER_PATH,TIMEOUT,IP_ADDRESS,CHECK_INTERVAL"},
        {"AUDITIONS_PLUGIN", "AUDITION_ID,SERVER_PATH,PLUGIN_TYPE,PLUGIN_NAME"},
        {"NOTIFICATIONS", "NOTIFICATION_ID,DESCRIPTION,SMS_ACTIVE,MSMAIL_ACTIVE,FAX_ACTIVE,"
                          "PRINTER_ACTIVE,NAME,SMTP_ACTIVE,SNMP_ACTIVE"},
        {"NOTIFICATIONS_SMS", "NOTIFICATION_ID,ACTIVE_BEGIN,ACTIVE_END,RECIPIENT,SENDERINFO"},
        {"NOTIFICATIONS_MS_MAIL", "NOTIFICATION_ID,ACTIVE_BEGIN,ACTIVE_END,MAILTEXT,RECIPIENTS"},
        {"NOTIFICATIONS_FAX", "NOTIFICATION_ID,ACTIVE_BEGIN,ACTIVE_END,FAXTEXT,RECIPIENT"},
        {"NOTIFICATIONS_PRINTER",
         "NOTIFICATION_ID,ACTIVE_BEGIN,ACTIVE_END,PRINTERNAME,PRINTERTEXT,DRIVERNAME"},
        {"NOTIFICATIONS_SMTP", "NOTIFICATION_ID,ACTIVE_BEGIN,ACTIVE_END,RECIPIENTS,MAILTEXT"},
        {"NOTIFICATIONS_SNMP", "NOTIFICATION_ID,ACTIVE_BEGIN,ACTIVE_END,DESTINATION,COMMUNITY,"
                               "ENTERPRISE,GENERIC_ID,SPECIFIC_ID,VARIABLE_ID,SPECIFIC_ID_RESOLVED,"
                               "SPECIFIC_ID_UNRESOLVED"},
        {"NOTIFY_PROFILES", "PROFILE_ID,NAME,DESCRIPTION"},
        {"R_NOTIFY_PROFILE_NFCN", "PROFILE_ID,SEQUENCE_NR,NOTIFICATION_ID"},
        {"R_AUDIT_NOTIFY_PROFILE", "AUDITION_ID,SEQUENCE_NR,PROFILE_ID"},
        {"PLUGINS", "PLUGIN_NAME,PLUGIN_TYPE,PLUGIN_MODULE"},
        {"NOTIFY_SERVICE_CFG_FAX", "DIAL_PREFIX,RETRIES,COM_PORT,MODEM_INIT_STRING,DIAL_TYPE"},
        {"NOTIFY_SERVICE_CFG_MSMAIL", "LOGON_PROFILE,LOGON_PROFILE_PASSWORD"},
        {"NOTIFY_SERVICE_CFG_SMS", "DIAL_PREFIX,RETRIES,GATEWAY_D1,GATEWAY_D2,GATEWAY_EPLUS,"
                                   "GATEWAY_NATEL_D,GATEWAY_QUIX"},
        {"NOTIFY_SERVICE_CFG_SMTP", "MAILSERVER,SENDER"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColumnOrder(files.Config, c.strTable), c.strColumns) << c.strTable;
    EXPECT_EQ(QueryInt(files.Config, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' "
                                     "AND name NOT LIKE 'sqlite%'"),
              static_cast<int64_t>(std::size(cases)));
}

TEST(DBSchema, TypesDefaultsAndIndexes) {
    CTempDir dir;
    DBFiles files = CreateFreshFiles(dir);
    SchemaDescription schema = DescribeSchema(files.Config);
    const auto& columns = schema.Columns;
    EXPECT_EQ(columns.at("AUDITIONS").at("AUDITION_ID"), "INTEGER DEFAULT NULL PK 1");
    EXPECT_EQ(columns.at("AUDITIONS").at("NAME"), "VARCHAR(255) DEFAULT NULL PK 0");
    EXPECT_EQ(columns.at("AUDITIONS").at("ACTIVE"), "BOOLEAN DEFAULT NULL PK 0");
    EXPECT_EQ(columns.at("AUDITIONS_LOGFILE").at("CHECK_TYPE"), "SMALLINT DEFAULT NULL PK 0");
    EXPECT_EQ(columns.at("AUDITIONS_NTEVTLOG").at("FILTER_ID"), "TEXT DEFAULT NULL PK 0");
    EXPECT_EQ(columns.at("AUDITIONS_NET").at("TIMEOUT"), "INTEGER DEFAULT 5 PK 0");
    EXPECT_EQ(columns.at("AUDITIONS_NET").at("CHECK_INTERVAL"), "INTEGER DEFAULT 2 PK 0");
    EXPECT_EQ(columns.at("AUDITIONS_NTEVTLOG").at("FILTER_TYPE"), "INTEGER DEFAULT 0 PK 0");
    EXPECT_EQ(columns.at("NOTIFICATIONS").at("SMTP_ACTIVE"), "BOOLEAN DEFAULT 0 PK 0");
    EXPECT_EQ(columns.at("NOTIFICATIONS_SNMP").at("GENERIC_ID"), "INTEGER DEFAULT 6 PK 0");
    EXPECT_EQ(columns.at("NOTIFICATIONS_SNMP").at("SPECIFIC_ID_UNRESOLVED"),
              "INTEGER DEFAULT 3 PK 0");
    EXPECT_EQ(columns.at("NOTIFICATIONS_SMTP").at("ACTIVE_END"), "INTEGER DEFAULT 24 PK 0");
    EXPECT_EQ(columns.at("NOTIFY_SERVICE_CFG_SMS").at("GATEWAY_EPLUS"),
              std::string("VARCHAR(100) DEFAULT '") + kSmsCentreEPlus + "' PK 0");
    EXPECT_EQ(columns.at("PLUGINS").at("PLUGIN_TYPE"), "INTEGER DEFAULT 0 PK 0");

    EXPECT_EQ(schema.Indexes.at("AUDITIONS_NET.AUDITION_ID"), "AUDITIONS_NET UNIQUE AUDITION_ID");
    EXPECT_EQ(schema.Indexes.at("NOTIFICATIONS_SNMP.NOTIFICATION_ID"),
              "NOTIFICATIONS_SNMP UNIQUE NOTIFICATION_ID");
    EXPECT_EQ(schema.Indexes.at("R_NOTIFY_PROFILE_NFCN.PROFILE_ID"),
              "R_NOTIFY_PROFILE_NFCN PROFILE_ID SEQUENCE_NR");
    EXPECT_EQ(schema.Indexes.at("R_AUDIT_NOTIFY_PROFILE.AUDITION_ID"),
              "R_AUDIT_NOTIFY_PROFILE AUDITION_ID SEQUENCE_NR");
    EXPECT_EQ(schema.Indexes.size(), 14u);

    SchemaDescription history = DescribeSchema(files.History);
    EXPECT_EQ(ColumnOrder(files.History, "PROBLEMS"),
              "PROBLEM_ID,PROBLEM_STATUS,PROBLEM_DESCRIPTION,MAX_DURATION,PROBLEM_BEGIN,"
              "PROBLEM_END,AUDITION_ID,ERROR_COUNT,AUDITION_NAME,COMPUTER_NAME");
    EXPECT_EQ(ColumnOrder(files.History, "EVENTS"),
              "EVENT_ID,DATE,COMPUTER,SOURCE,SOURCE_NAME,SOURCE_MODULE_NAME,TYPE,CATEGORY,"
              "EVENT_DESCRIPTION,INFO_ID,PROBLEM_ID");
    EXPECT_EQ(history.Indexes.at("EVENTS.PROBLEM_ID"), "EVENTS PROBLEM_ID");
}

TEST(DBSchema, NewFilesCarryTheirVersionsAndFilledOneRowTables) {
    CTempDir dir;
    DBFiles files = CreateFreshFiles(dir);
    EXPECT_EQ(QueryInt(files.Config, "SELECT DB_VERSION FROM A_SYSTEM"), 10);
    EXPECT_EQ(QueryInt(files.History, "SELECT DB_VERSION FROM A_SYSTEM"), 2);
    for (const char* pTable :
         {"A_SYSTEM", "CONFIGURATION", "NOTIFY_SERVICE_CFG_FAX", "NOTIFY_SERVICE_CFG_MSMAIL",
          "NOTIFY_SERVICE_CFG_SMS", "NOTIFY_SERVICE_CFG_SMTP"})
        EXPECT_EQ(QueryInt(files.Config, std::string("SELECT COUNT(*) FROM ") + pTable), 1)
            << pTable;
    EXPECT_EQ(QueryText(files.Config, "SELECT GATEWAY_QUIX FROM NOTIFY_SERVICE_CFG_SMS"),
              kSmsCentreQuix);
    EXPECT_EQ(QueryInt(files.History, "SELECT COUNT(*) FROM PROBLEMS"), 0);
}

TEST(DBSchema, SmsCentreDefaultsAreTheNumbersTheLibraryDials) {
    const DBNotifySrvConfig services = CDBSchema::DefaultNotifyServicesConfig();
    const std::pair<int32_t, std::string> defaults[] = {
        {SMS_NETWORK_D1, services.SMS_GATEWAY_D1},
        {SMS_NETWORK_D2, services.SMS_GATEWAY_D2},
        {SMS_NETWORK_EPLUS, services.SMS_GATEWAY_EPLUS},
        {SMS_NETWORK_QUIX, services.SMS_GATEWAY_QUIX},
        {SMS_NETWORK_NATEL_D, services.SMS_GATEWAY_NATEL_D},
    };
    for (const auto& [network, number] : defaults)
        EXPECT_EQ(number, SmsCentreNumber(network, false)) << "network " << network;
}

TEST(DBSchema, CreatingRefusesAnExistingFile) {
    CTempDir dir;
    const std::string strPath = dir.File("TARN.MDB");
    std::ofstream(strPath) << "keep me";
    std::string strError;
    EXPECT_FALSE(CDBSchema::CreateConfigurationFile(strPath, {}, {}, strError));
    EXPECT_FALSE(CDBSchema::CreateHistoryFile(strPath, strError));
    EXPECT_EQ(strError, "file exists");
    std::ifstream in(strPath);
    std::string strContent;
    std::getline(in, strContent);
    EXPECT_EQ(strContent, "keep me");
}

TEST(DBSchema, BindingSQLNamesEveryBoundColumnOnce) {
    const CDBRAuditions& binding = CDBRAuditions::Get();
    EXPECT_EQ(binding.SelectByKeySQL().find("SELECT ACTION_RESTART_APP, "), 0u);
    EXPECT_NE(binding.SelectByKeySQL().find(" WHERE AUDITION_ID = ?"), std::string::npos);
    // The AutoNumber key is assigned by the database, never written.
    EXPECT_EQ(binding.InsertSQL().find("AUDITION_ID"), std::string::npos);
    EXPECT_EQ(binding.UpdateByKeySQL().find("AUDITION_ID = ?,"), std::string::npos);
}
