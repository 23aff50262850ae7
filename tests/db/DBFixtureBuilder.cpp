#include "DBFixtureBuilder.h"

#include "DBTestSupport.h"
#include "tarn/SmsCentreNumbers.h"

#include <sqlite3.h>
#include <stdexcept>

namespace {

const char* kVersion3 = R"SQL(
CREATE TABLE A_SYSTEM ("DB_VERSION" INTEGER);
CREATE TABLE CONFIGURATION ("PROTOCOLFILE" VARCHAR(255), "DATA_DIRECTORY" VARCHAR(255));
CREATE TABLE AUDITIONS ("ACTION_RESTART_APP" BOOLEAN, "ACTION_RESTART_SERVICE" BOOLEAN,
  "ACTION_RESTART_SYSTEM" BOOLEAN, "ACTION_SPECIAL_MASK" INTEGER, "ACTIVE" BOOLEAN,
  "ACTIVE_BEGIN" INTEGER, "ACTIVE_END" INTEGER, "AUDITION_ID" INTEGER PRIMARY KEY AUTOINCREMENT,
  "AUDITION_TYPE" INTEGER, "DESCRIPTION" VARCHAR(255), "NAME" VARCHAR(255), "MAX_DURATION" INTEGER,
  "RESTART_PARAMETERS" VARCHAR(255), "NOTIFY_ALWAYS" BOOLEAN, "NOTIFY_FAILURE" BOOLEAN,
  "NOTIFY_SUCCESS" BOOLEAN);
CREATE TABLE AUDITIONS_APP ("AUDITION_ID" INTEGER, "APP_MODULE" VARCHAR(255), "SERVER_PATH" VARCHAR(255));
CREATE UNIQUE INDEX "AUDITIONS_APP.AUDITION_ID" ON AUDITIONS_APP (AUDITION_ID);
CREATE TABLE AUDITIONS_SERVICE ("AUDITION_ID" INTEGER, "SERVER_PATH" VARCHAR(255),
  "SERVICE_MODULE" VARCHAR(255), "SERVICE_NAME" VARCHAR(255));
CREATE UNIQUE INDEX "AUDITIONS_SERVICE.AUDITION_ID" ON AUDITIONS_SERVICE (AUDITION_ID);
CREATE TABLE AUDITIONS_LOGFILE ("AUDITION_ID" INTEGER, "CHECK_INTERVAL" INTEGER,
  "CHECK_TYPE" SMALLINT, "LOGFILE" VARCHAR(255));
CREATE UNIQUE INDEX "AUDITIONS_LOGFILE.AUDITION_ID" ON AUDITIONS_LOGFILE (AUDITION_ID);
CREATE TABLE AUDITIONS_NTEVTLOG ("AUDITION_ID" INTEGER, "SERVER_PATH" VARCHAR(255),
  "AUDIT_APPLOG" BOOLEAN, "AUDIT_ERROR" BOOLEAN, "AUDIT_SYSTEMLOG" BOOLEAN, "AUDIT_WARNING" BOOLEAN);
CREATE UNIQUE INDEX "AUDITIONS_NTEVTLOG.AUDITION_ID" ON AUDITIONS_NTEVTLOG (AUDITION_ID);
CREATE TABLE AUDITIONS_NET ("AUDITION_ID" INTEGER, "SERVER_PATH" VARCHAR(255));
CREATE UNIQUE INDEX "AUDITIONS_NET.AUDITION_ID" ON AUDITIONS_NET (AUDITION_ID);
CREATE TABLE NOTIFICATIONS ("NOTIFICATION_ID" INTEGER PRIMARY KEY AUTOINCREMENT,
  "DESCRIPTION" VARCHAR(255), "SMS_ACTIVE" BOOLEAN, "MSMAIL_ACTIVE" BOOLEAN, "FAX_ACTIVE" BOOLEAN,
  "PRINTER_ACTIVE" BOOLEAN, "NAME" VARCHAR(255));
CREATE TABLE NOTIFICATIONS_SMS ("NOTIFICATION_ID" INTEGER, "ACTIVE_BEGIN" INTEGER,
  "ACTIVE_END" INTEGER, "RECIPIENT" VARCHAR(255), "SENDERINFO" VARCHAR(255));
CREATE UNIQUE INDEX "NOTIFICATIONS_SMS.NOTIFICATION_ID" ON NOTIFICATIONS_SMS (NOTIFICATION_ID);
CREATE TABLE NOTIFICATIONS_MS_MAIL ("NOTIFICATION_ID" INTEGER, "ACTIVE_BEGIN" INTEGER,
  "ACTIVE_END" INTEGER, "MAILTEXT" VARCHAR(255), "RECIPIENTS" VARCHAR(255));
CREATE UNIQUE INDEX "NOTIFICATIONS_MS_MAIL.NOTIFICATION_ID" ON NOTIFICATIONS_MS_MAIL (NOTIFICATION_ID);
CREATE TABLE NOTIFICATIONS_FAX ("NOTIFICATION_ID" INTEGER, "ACTIVE_BEGIN" INTEGER,
  "ACTIVE_END" INTEGER, "FAXTEXT" VARCHAR(255), "RECIPIENT" VARCHAR(255));
CREATE UNIQUE INDEX "NOTIFICATIONS_FAX.NOTIFICATION_ID" ON NOTIFICATIONS_FAX (NOTIFICATION_ID);
CREATE TABLE NOTIFICATIONS_PRINTER ("NOTIFICATION_ID" INTEGER, "ACTIVE_BEGIN" INTEGER,
  "ACTIVE_END" INTEGER, "PRINTERNAME" VARCHAR(255), "PRINTERTEXT" VARCHAR(255),
  "DRIVERNAME" VARCHAR(255));
CREATE UNIQUE INDEX "NOTIFICATIONS_PRINTER.NOTIFICATION_ID" ON NOTIFICATIONS_PRINTER (NOTIFICATION_ID);
CREATE TABLE NOTIFY_PROFILES ("PROFILE_ID" INTEGER PRIMARY KEY AUTOINCREMENT, "NAME" VARCHAR(255),
  "DESCRIPTION" VARCHAR(255));
CREATE TABLE R_NOTIFY_PROFILE_NFCN ("PROFILE_ID" INTEGER, "SEQUENCE_NR" INTEGER,
  "NOTIFICATION_ID" INTEGER);
CREATE INDEX "R_NOTIFY_PROFILE_NFCN.PROFILE_ID" ON R_NOTIFY_PROFILE_NFCN (PROFILE_ID, SEQUENCE_NR);
CREATE TABLE R_AUDIT_NOTIFY_PROFILE ("AUDITION_ID" INTEGER, "SEQUENCE_NR" INTEGER,
  "PROFILE_ID" INTEGER);
CREATE INDEX "R_AUDIT_NOTIFY_PROFILE.AUDITION_ID" ON R_AUDIT_NOTIFY_PROFILE (AUDITION_ID, SEQUENCE_NR);
CREATE TABLE NOTIFY_SERVICE_CFG_FAX ("DIAL_PREFIX" VARCHAR(255), "RETRIES" INTEGER,
  "COM_PORT" INTEGER, "MODEM_INIT_STRING" VARCHAR(255), "DIAL_TYPE" SMALLINT);
CREATE TABLE NOTIFY_SERVICE_CFG_MSMAIL ("LOGON_PROFILE" VARCHAR(255),
  "LOGON_PROFILE_PASSWORD" VARCHAR(255));
CREATE TABLE NOTIFY_SERVICE_CFG_SMS ("DIAL_PREFIX" VARCHAR(255), "RETRIES" INTEGER);
INSERT INTO A_SYSTEM VALUES (3);
INSERT INTO CONFIGURATION VALUES ('/srv/tarn/protocol.log', '/srv/tarn/data/');
INSERT INTO NOTIFY_SERVICE_CFG_FAX VALUES ('0', 2, 1, 'ATZ', 0);
INSERT INTO NOTIFY_SERVICE_CFG_MSMAIL VALUES ('Ops', 'pw');
INSERT INTO NOTIFY_SERVICE_CFG_SMS VALUES ('0', 4);
)SQL";

// What each release added, as the release's own file shows it.
const char* kToVersion[] = {
    /* 4 */ R"SQL(
ALTER TABLE NOTIFICATIONS ADD COLUMN "SMTP_ACTIVE" BOOLEAN DEFAULT 0;
ALTER TABLE AUDITIONS_NET ADD COLUMN "TIMEOUT" INTEGER DEFAULT 5;
CREATE TABLE NOTIFY_SERVICE_CFG_SMTP ("MAILSERVER" VARCHAR(255), "SENDER" VARCHAR(255));
INSERT INTO NOTIFY_SERVICE_CFG_SMTP VALUES ('smtp.old', 'old@example.org');
ALTER TABLE AUDITIONS_NTEVTLOG ADD COLUMN "FILTER_SOURCE" TEXT;
ALTER TABLE AUDITIONS_NTEVTLOG ADD COLUMN "FILTER_ID" TEXT;
CREATE TABLE NOTIFICATIONS_SMTP ("NOTIFICATION_ID" INTEGER, "ACTIVE_BEGIN" INTEGER DEFAULT 0,
  "ACTIVE_END" INTEGER DEFAULT 24, "RECIPIENTS" VARCHAR(255), "MAILTEXT" VARCHAR(255));
CREATE UNIQUE INDEX "NOTIFICATIONS_SMTP.NOTIFICATION_ID" ON NOTIFICATIONS_SMTP (NOTIFICATION_ID);
)SQL",
    /* 5 */ R"SQL(
CREATE TABLE PLUGINS ("PLUGIN_NAME" VARCHAR(255), "PLUGIN_TYPE" INTEGER DEFAULT 0,
  "PLUGIN_MODULE" VARCHAR(255));
ALTER TABLE AUDITIONS_SERVICE ADD COLUMN "SERVICE_DISPLAYNAME" VARCHAR(255);
CREATE TABLE AUDITIONS_PLUGIN ("AUDITION_ID" INTEGER, "SERVER_PATH" VARCHAR(255),
  "PLUGIN_TYPE" INTEGER DEFAULT 0, "PLUGIN_NAME" VARCHAR(255));
CREATE UNIQUE INDEX "AUDITIONS_PLUGIN.AUDITION_ID" ON AUDITIONS_PLUGIN (AUDITION_ID);
)SQL",
    /* 6 */ R"SQL(
ALTER TABLE AUDITIONS_NTEVTLOG ADD COLUMN "FILTER_TYPE" INTEGER DEFAULT 0;
)SQL",
    /* 7 */ R"SQL(
ALTER TABLE AUDITIONS_NET ADD COLUMN "IP_ADDRESS" VARCHAR(255);
)SQL",
    /* 8 */ R"SQL(
ALTER TABLE NOTIFICATIONS ADD COLUMN "SNMP_ACTIVE" BOOLEAN DEFAULT 0;
CREATE TABLE NOTIFICATIONS_SNMP ("NOTIFICATION_ID" INTEGER, "ACTIVE_BEGIN" INTEGER DEFAULT 0,
  "ACTIVE_END" INTEGER DEFAULT 24, "DESTINATION" VARCHAR(255), "COMMUNITY" VARCHAR(255),
  "ENTERPRISE" VARCHAR(255), "VARIABLE_ID" VARCHAR(255), "GENERIC_ID" INTEGER DEFAULT 6,
  "SPECIFIC_ID" INTEGER DEFAULT 1);
CREATE UNIQUE INDEX "NOTIFICATIONS_SNMP.NOTIFICATION_ID" ON NOTIFICATIONS_SNMP (NOTIFICATION_ID);
)SQL",
    /* 9 */ R"SQL(
ALTER TABLE AUDITIONS_NET ADD COLUMN "CHECK_INTERVAL" INTEGER DEFAULT 2;
ALTER TABLE NOTIFY_SERVICE_CFG_SMS ADD COLUMN "GATEWAY_D1" VARCHAR(100) DEFAULT '{D1}';
ALTER TABLE NOTIFY_SERVICE_CFG_SMS ADD COLUMN "GATEWAY_D2" VARCHAR(100) DEFAULT '{D2}';
ALTER TABLE NOTIFY_SERVICE_CFG_SMS ADD COLUMN "GATEWAY_EPLUS" VARCHAR(100) DEFAULT '{EPLUS}';
ALTER TABLE NOTIFY_SERVICE_CFG_SMS ADD COLUMN "GATEWAY_QUIX" VARCHAR(100) DEFAULT '{QUIX}';
ALTER TABLE NOTIFY_SERVICE_CFG_SMS ADD COLUMN "GATEWAY_NATEL_D" VARCHAR(100) DEFAULT '{NATEL_D}';
UPDATE NOTIFY_SERVICE_CFG_SMS SET GATEWAY_D1 = '0999';
)SQL",
};

// The release of version 9 already had the SMS centre numbers of today.
std::string WithSmsCentreNumbers(std::string strSQL) {
    const std::pair<const char*, const char*> numbers[] = {{"{D1}", kSmsCentreD1},
                                                           {"{D2}", kSmsCentreD2},
                                                           {"{EPLUS}", kSmsCentreEPlus},
                                                           {"{QUIX}", kSmsCentreQuix},
                                                           {"{NATEL_D}", kSmsCentreNatelD}};
    for (const auto& [placeholder, number] : numbers)
        strSQL.replace(strSQL.find(placeholder), std::string(placeholder).size(), number);
    return strSQL;
}

} // namespace

void BuildConfigFile(const std::string& strPath, int nVersion) {
    if (nVersion >= 10) {
        CTempDir scratch;
        DBFiles files = CreateFreshFiles(scratch);
        ExecSQL(files.Config, "UPDATE A_SYSTEM SET DB_VERSION = " + std::to_string(nVersion));
        if (std::rename(files.Config.c_str(), strPath.c_str()) != 0)
            throw std::runtime_error("cannot move the file");
        return;
    }
    std::string strSQL = kVersion3;
    for (int nStep = 4; nStep <= nVersion; ++nStep)
        strSQL += nStep == 9 ? WithSmsCentreNumbers(kToVersion[nStep - 4]) : kToVersion[nStep - 4];
    strSQL += "UPDATE A_SYSTEM SET DB_VERSION = " + std::to_string(nVersion) + ";";
    sqlite3* pDB = nullptr;
    sqlite3_open_v2(strPath.c_str(), &pDB, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* pMessage = nullptr;
    int nResult = sqlite3_exec(pDB, strSQL.c_str(), nullptr, nullptr, &pMessage);
    std::string strError = pMessage ? pMessage : "";
    sqlite3_free(pMessage);
    sqlite3_close(pDB);
    if (nResult != SQLITE_OK)
        throw std::runtime_error("fixture: " + strError);
}

int AddOldNotification(const std::string& strPath, const std::string& strName) {
    const int nVersion = static_cast<int>(QueryInt(strPath, "SELECT DB_VERSION FROM A_SYSTEM"));
    ExecSQL(strPath, "INSERT INTO NOTIFICATIONS (DESCRIPTION, SMS_ACTIVE, MSMAIL_ACTIVE, "
                     "FAX_ACTIVE, PRINTER_ACTIVE, NAME) VALUES ('alt', 1, 0, 0, 1, '" +
                         strName + "')");
    const std::string strID = QueryText(strPath, "SELECT MAX(NOTIFICATION_ID) FROM NOTIFICATIONS");
    for (const char* pTable : {"NOTIFICATIONS_SMS", "NOTIFICATIONS_MS_MAIL", "NOTIFICATIONS_FAX",
                               "NOTIFICATIONS_PRINTER"})
        ExecSQL(strPath, std::string("INSERT INTO ") + pTable +
                             " (NOTIFICATION_ID, ACTIVE_BEGIN, ACTIVE_END) VALUES (" + strID +
                             ", 7, 19)");
    if (nVersion >= 4)
        ExecSQL(strPath, "INSERT INTO NOTIFICATIONS_SMTP (NOTIFICATION_ID) VALUES (" + strID + ")");
    if (nVersion >= 8)
        ExecSQL(strPath, "INSERT INTO NOTIFICATIONS_SNMP (NOTIFICATION_ID) VALUES (" + strID + ")");
    return std::stoi(strID);
}

int AddOldNetAudition(const std::string& strPath, const std::string& strName) {
    ExecSQL(strPath, "INSERT INTO AUDITIONS (AUDITION_TYPE, NAME, ACTIVE, ACTIVE_BEGIN, "
                     "ACTIVE_END, MAX_DURATION, NOTIFY_ALWAYS) VALUES (5, '" +
                         strName + "', 1, 0, 24, 15, 1)");
    const std::string strID = QueryText(strPath, "SELECT MAX(AUDITION_ID) FROM AUDITIONS");
    ExecSQL(strPath, "INSERT INTO AUDITIONS_NET (AUDITION_ID, SERVER_PATH) VALUES (" + strID +
                         ", 'router')");
    return std::stoi(strID);
}

namespace {

std::vector<std::vector<std::string>> Rows(sqlite3* pDB, const std::string& strSQL) {
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* pStmt = nullptr;
    if (sqlite3_prepare_v2(pDB, strSQL.c_str(), -1, &pStmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(pDB));
    while (sqlite3_step(pStmt) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(pStmt); ++i) {
            const unsigned char* pText = sqlite3_column_text(pStmt, i);
            row.push_back(pText ? reinterpret_cast<const char*>(pText) : "NULL");
        }
        rows.push_back(row);
    }
    sqlite3_finalize(pStmt);
    return rows;
}

} // namespace

SchemaDescription DescribeSchema(const std::string& strPath) {
    SchemaDescription description;
    sqlite3* pDB = nullptr;
    sqlite3_open_v2(strPath.c_str(), &pDB, SQLITE_OPEN_READONLY, nullptr);
    for (const auto& table : Rows(pDB, "SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                       "name NOT LIKE 'sqlite_%'")) {
        auto& columns = description.Columns[table[0]];
        for (const auto& column : Rows(pDB, "PRAGMA table_info(\"" + table[0] + "\")"))
            columns[column[1]] = column[2] + " DEFAULT " + column[4] + " PK " + column[5];
        for (const auto& index : Rows(pDB, "PRAGMA index_list(\"" + table[0] + "\")")) {
            if (index[3] != "c")
                continue; // made by SQLite itself
            std::string strText = table[0] + (index[2] == "1" ? " UNIQUE" : "");
            for (const auto& column : Rows(pDB, "PRAGMA index_info(\"" + index[1] + "\")"))
                strText += " " + column[2];
            description.Indexes[index[1]] = strText;
        }
    }
    sqlite3_close(pDB);
    return description;
}

std::string Difference(const SchemaDescription& a, const SchemaDescription& b) {
    std::string strText;
    for (const auto& [table, columns] : a.Columns) {
        auto it = b.Columns.find(table);
        if (it == b.Columns.end()) {
            strText += "table " + table + " only in the first\n";
            continue;
        }
        for (const auto& [column, text] : columns) {
            auto itColumn = it->second.find(column);
            if (itColumn == it->second.end())
                strText += table + "." + column + " only in the first\n";
            else if (itColumn->second != text)
                strText += table + "." + column + ": " + text + " vs " + itColumn->second + "\n";
        }
        for (const auto& [column, text] : it->second)
            if (!columns.count(column))
                strText += table + "." + column + " only in the second\n";
    }
    for (const auto& [table, columns] : b.Columns)
        if (!a.Columns.count(table))
            strText += "table " + table + " only in the second\n";
    for (const auto& [name, text] : a.Indexes) {
        auto it = b.Indexes.find(name);
        if (it == b.Indexes.end() || it->second != text)
            strText += "index " + name + ": " + text + " vs " +
                       (it == b.Indexes.end() ? "none" : it->second) + "\n";
    }
    for (const auto& [name, text] : b.Indexes)
        if (!a.Indexes.count(name))
            strText += "index " + name + " only in the second\n";
    return strText;
}
