// The in-memory records that the database operations fill and store, one
// record type per table family. A freshly made record has the key 0; a record
// that is to be added as a new row carries the key DB_KEY_NEW, and storing it
// writes the key the database assigned back into the record.
//
// The fields are named after the columns they hold.
#pragma once

#include "TARNTool.h"

#include <cstdint>
#include <string>
#include <vector>

// Key of a record that has no row yet (AUDITION_ID_NEW for auditions).
inline constexpr int32_t DB_KEY_NEW = -1;

// ---- Auditions: the main row and one detail row of the audition's type ----

struct DBAuditionNet {
    int32_t AUDITION_ID = 0;
    std::string SERVER_PATH;
    int32_t TIMEOUT = 5;
    std::string IP_ADDRESS;
    int32_t CHECK_INTERVAL = 2;
};

struct DBAuditionNTEvtLog {
    int32_t AUDITION_ID = 0;
    std::string SERVER_PATH;
    bool AUDIT_APPLOG = false;
    bool AUDIT_ERROR = false;
    bool AUDIT_SYSTEMLOG = false;
    bool AUDIT_WARNING = false;
    std::string FILTER_ID;
    std::string FILTER_SOURCE;
    int32_t FILTER_TYPE = 0;
};

struct DBAuditionLogfile {
    int32_t AUDITION_ID = 0;
    int32_t CHECK_INTERVAL = 0;
    int16_t CHECK_TYPE = 0;
    std::string LOGFILE;
};

struct DBAuditionApp {
    int32_t AUDITION_ID = 0;
    std::string APP_MODULE;
    std::string SERVER_PATH;
};

struct DBAuditionService {
    int32_t AUDITION_ID = 0;
    std::string SERVER_PATH;
    std::string SERVICE_MODULE;
    std::string SERVICE_NAME;
    std::string SERVICE_DISPLAYNAME;
};

struct DBAuditionPlugin {
    int32_t AUDITION_ID = 0;
    std::string SERVER_PATH;
    int32_t PLUGIN_TYPE = 0;
    std::string PLUGIN_NAME;
};

struct DBAudition {
    int32_t AUDITION_ID = 0;
    std::string NAME;
    std::string DESCRIPTION;
    bool ACTIVE = false;
    int32_t ACTIVE_BEGIN = 0;
    int32_t ACTIVE_END = 24;
    bool ACTION_RESTART_SERVICE = false;
    bool ACTION_RESTART_APP = false;
    bool ACTION_RESTART_SYSTEM = false;
    int32_t ACTION_SPECIAL_MASK = 0;
    bool NOTIFY_ALWAYS = true;
    bool NOTIFY_SUCCESS = false;
    bool NOTIFY_FAILURE = false;
    int32_t MAX_DURATION = 15;
    std::string RESTART_PARAMETERS;
    int32_t AUDITION_TYPE = 0; // AuditionType; 0 = none; 1 to 6 select the detail record
    // The computer whose agent carries the audition: filled on reading from
    // the detail row for the agent types, empty otherwise; never stored.
    std::string AgentComputer;
    // False when reading found no row of the type's details; never stored.
    bool DetailsRead = true;
    // Only the detail record of AUDITION_TYPE is read or written.
    DBAuditionNet Net;
    DBAuditionNTEvtLog NTEvtLog;
    DBAuditionLogfile Logfile;
    DBAuditionApp App;
    DBAuditionService Service;
    DBAuditionPlugin Plugin;
};

// ---- Notifications: the main row and one row in each of six channel tables ----

struct DBNotificationSMS {
    int32_t NOTIFICATION_ID = 0;
    int32_t ACTIVE_BEGIN = 0;
    int32_t ACTIVE_END = 24;
    std::string RECIPIENT;
    std::string SENDERINFO;
};

struct DBNotificationMSMail {
    int32_t NOTIFICATION_ID = 0;
    int32_t ACTIVE_BEGIN = 0;
    int32_t ACTIVE_END = 24;
    std::string MAILTEXT;
    std::string RECIPIENTS;
};

struct DBNotificationFax {
    int32_t NOTIFICATION_ID = 0;
    int32_t ACTIVE_BEGIN = 0;
    int32_t ACTIVE_END = 24;
    std::string FAXTEXT;
    std::string RECIPIENT;
};

struct DBNotificationPrinter {
    int32_t NOTIFICATION_ID = 0;
    int32_t ACTIVE_BEGIN = 0;
    int32_t ACTIVE_END = 24;
    std::string PRINTERNAME;
    std::string PRINTERTEXT;
    std::string DRIVERNAME;
};

struct DBNotificationSMTP {
    int32_t NOTIFICATION_ID = 0;
    int32_t ACTIVE_BEGIN = 0;
    int32_t ACTIVE_END = 24;
    std::string RECIPIENTS;
    std::string MAILTEXT;
};

// The SNMP row's DESTINATION, COMMUNITY and GENERIC_ID are never read or
// written by the console; the rows keep the column defaults.
struct DBNotificationSNMP {
    int32_t NOTIFICATION_ID = 0;
    int32_t ACTIVE_BEGIN = 0;
    int32_t ACTIVE_END = 24;
    std::string ENTERPRISE = "1.3.6.1.4.1.0";
    int32_t SPECIFIC_ID = 1;
    int32_t SPECIFIC_ID_RESOLVED = 2;
    int32_t SPECIFIC_ID_UNRESOLVED = 3;
    std::string VARIABLE_ID = "1.3.6.1.4.1.1.0";
};

struct DBNotification {
    int32_t NOTIFICATION_ID = 0;
    std::string NAME;
    std::string DESCRIPTION;
    bool SMS_ACTIVE = false;
    bool MSMAIL_ACTIVE = false;
    bool FAX_ACTIVE = false;
    bool PRINTER_ACTIVE = false;
    bool SMTP_ACTIVE = false;
    bool SNMP_ACTIVE = false;
    DBNotificationSMS SMS;
    DBNotificationMSMail MSMail;
    DBNotificationFax Fax;
    DBNotificationPrinter Printer;
    DBNotificationSMTP SMTP;
    DBNotificationSNMP SNMP;

    // A stored notification: its key and the keys of its six channel rows.
    bool Valid() const {
        return NOTIFICATION_ID > 0 && SMS.NOTIFICATION_ID > 0 && MSMail.NOTIFICATION_ID > 0 &&
               Fax.NOTIFICATION_ID > 0 && Printer.NOTIFICATION_ID > 0 && SMTP.NOTIFICATION_ID > 0 &&
               SNMP.NOTIFICATION_ID > 0;
    }
};

// ---- Notify profiles, plug-ins and the one-row tables ----

struct DBNotifyProfile {
    int32_t PROFILE_ID = 0;
    std::string NAME;
    std::string DESCRIPTION;

    bool Valid() const { return PROFILE_ID >= 1; }
};

struct DBPlugin {
    int32_t PLUGIN_TYPE = 0; // the key; supplied by the plug-in, never 0
    std::string PLUGIN_NAME;
    std::string PLUGIN_MODULE;

    bool Valid() const { return PLUGIN_TYPE != 0; }
};

struct DBConfiguration {
    std::string PROTOCOLFILE;
    std::string DATA_DIRECTORY; // with a trailing separator
};

// The four notification service tables in one record.
struct DBNotifySrvConfig {
    std::string SMS_DIAL_PREFIX;
    int32_t SMS_RETRIES = 0;
    std::string SMS_GATEWAY_D1;
    std::string SMS_GATEWAY_D2;
    std::string SMS_GATEWAY_EPLUS;
    std::string SMS_GATEWAY_QUIX;
    std::string SMS_GATEWAY_NATEL_D;
    std::string MSMAIL_LOGON_PROFILE;
    std::string MSMAIL_LOGON_PROFILE_PASSWORD;
    std::string FAX_DIAL_PREFIX;
    int32_t FAX_RETRIES = 0;
    std::string FAX_MODEM_INIT_STRING;
    int32_t FAX_COM_PORT = 0;
    int16_t FAX_DIAL_TYPE = 0;
    std::string SMTP_MAILSERVER;
    std::string SMTP_SENDER;
};

// ---- History ----

struct DBHProblem {
    int32_t PROBLEM_ID = 0;
    int32_t PROBLEM_STATUS = 0;
    std::string PROBLEM_DESCRIPTION;
    std::string PROBLEM_BEGIN; // 14-digit time stamp text
    std::string PROBLEM_END;   // empty while the problem is open
    int32_t MAX_DURATION = 20;
    int32_t ERROR_COUNT = 0;
    int32_t AUDITION_ID = 0;
    std::string AUDITION_NAME;
    std::string COMPUTER_NAME;
};

struct DBHEvent {
    int32_t EVENT_ID = 0;
    std::string DATE; // 14-digit time stamp text
    std::string COMPUTER;
    int32_t SOURCE = 0;
    std::string SOURCE_NAME;
    std::string SOURCE_MODULE_NAME;
    int32_t TYPE = 0;
    int32_t CATEGORY = 0;
    std::string INFO_ID;
    std::string EVENT_DESCRIPTION;
    int32_t PROBLEM_ID = 0;
};

using DBAuditionList = std::vector<DBAudition>;
using DBNotificationList = std::vector<DBNotification>;
using DBNotifyProfileList = std::vector<DBNotifyProfile>;
using DBPluginList = std::vector<DBPlugin>;
using DBHProblemList = std::vector<DBHProblem>;
using DBHEventList = std::vector<DBHEvent>;
using DBKeyList = std::vector<int32_t>;
