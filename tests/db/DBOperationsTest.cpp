// The operations on both files, called through the front and the database
// thread as the console calls them.
#include "CDBBinding.h"
#include "DBTestSupport.h"
#include "tarn/SmsCentreNumbers.h"

#include <gtest/gtest.h>

namespace {

DBNotification MakeNotification(const std::string& strName) {
    DBNotification notification;
    notification.NOTIFICATION_ID = DB_KEY_NEW;
    notification.NAME = strName;
    notification.DESCRIPTION = "Beschreibung " + strName;
    notification.SMS_ACTIVE = true;
    notification.SMTP_ACTIVE = true;
    notification.SMS.RECIPIENT = "0171 1234567";
    notification.SMS.SENDERINFO = "TARN";
    notification.SMS.ACTIVE_BEGIN = 8;
    notification.SMS.ACTIVE_END = 18;
    notification.MSMail.RECIPIENTS = "Admin";
    notification.MSMail.MAILTEXT = "Mailtext";
    notification.Fax.RECIPIENT = "0711 555";
    notification.Fax.FAXTEXT = "Faxtext";
    notification.Printer.PRINTERNAME = "LG-Fax";
    notification.Printer.PRINTERTEXT = "Drucktext";
    notification.Printer.DRIVERNAME = "winspool";
    notification.SMTP.RECIPIENTS = "ops@example.org";
    notification.SMTP.MAILTEXT = "Störung";
    notification.SNMP.ENTERPRISE = "1.3.6.1.4.1.99";
    notification.SNMP.VARIABLE_ID = "1.3.6.1.4.1.99.1";
    notification.SNMP.SPECIFIC_ID = 11;
    notification.SNMP.SPECIFIC_ID_RESOLVED = 12;
    notification.SNMP.SPECIFIC_ID_UNRESOLVED = 13;
    return notification;
}

DBAudition MakeAudition(AuditionType eType, const std::string& strName) {
    DBAudition audition;
    audition.AUDITION_ID = AUDITION_ID_NEW;
    audition.AUDITION_TYPE = static_cast<int32_t>(eType);
    audition.NAME = strName;
    audition.DESCRIPTION = "Überwachung " + strName;
    audition.ACTIVE = true;
    audition.ACTIVE_BEGIN = 22;
    audition.ACTIVE_END = 6;
    audition.ACTION_RESTART_SYSTEM = true;
    audition.MAX_DURATION = 30;
    audition.RESTART_PARAMETERS = "-force";
    audition.NOTIFY_FAILURE = true;
    audition.App.APP_MODULE = "app.exe";
    audition.App.SERVER_PATH = "APPHOST";
    audition.Service.SERVER_PATH = "SVCHOST";
    audition.Service.SERVICE_MODULE = "svc.exe";
    audition.Service.SERVICE_NAME = "Spooler";
    audition.Service.SERVICE_DISPLAYNAME = "Druckwarteschlange";
    audition.Logfile.CHECK_INTERVAL = 7;
    audition.Logfile.CHECK_TYPE = 2;
    audition.Logfile.LOGFILE = "/var/log/app.log";
    audition.NTEvtLog.SERVER_PATH = "EVTHOST";
    audition.NTEvtLog.AUDIT_APPLOG = true;
    audition.NTEvtLog.AUDIT_WARNING = true;
    audition.NTEvtLog.FILTER_ID = "100;200";
    audition.NTEvtLog.FILTER_SOURCE = "Disk";
    audition.NTEvtLog.FILTER_TYPE = 1;
    audition.Net.SERVER_PATH = "router";
    audition.Net.IP_ADDRESS = "127.0.0.1";
    audition.Net.TIMEOUT = 9;
    audition.Net.CHECK_INTERVAL = 4;
    audition.Plugin.SERVER_PATH = "PLUGHOST";
    audition.Plugin.PLUGIN_TYPE = 77;
    audition.Plugin.PLUGIN_NAME = "Disk space";
    return audition;
}

void ExpectSameChannels(const DBNotification& a, const DBNotification& b) {
    EXPECT_EQ(a.SMS.RECIPIENT, b.SMS.RECIPIENT);
    EXPECT_EQ(a.SMS.SENDERINFO, b.SMS.SENDERINFO);
    EXPECT_EQ(a.SMS.ACTIVE_BEGIN, b.SMS.ACTIVE_BEGIN);
    EXPECT_EQ(a.SMS.ACTIVE_END, b.SMS.ACTIVE_END);
    EXPECT_EQ(a.MSMail.RECIPIENTS, b.MSMail.RECIPIENTS);
    EXPECT_EQ(a.MSMail.MAILTEXT, b.MSMail.MAILTEXT);
    EXPECT_EQ(a.Fax.RECIPIENT, b.Fax.RECIPIENT);
    EXPECT_EQ(a.Fax.FAXTEXT, b.Fax.FAXTEXT);
    EXPECT_EQ(a.Printer.PRINTERNAME, b.Printer.PRINTERNAME);
    EXPECT_EQ(a.Printer.PRINTERTEXT, b.Printer.PRINTERTEXT);
    EXPECT_EQ(a.Printer.DRIVERNAME, b.Printer.DRIVERNAME);
    EXPECT_EQ(a.SMTP.RECIPIENTS, b.SMTP.RECIPIENTS);
    EXPECT_EQ(a.SMTP.MAILTEXT, b.SMTP.MAILTEXT);
    EXPECT_EQ(a.SNMP.ENTERPRISE, b.SNMP.ENTERPRISE);
    EXPECT_EQ(a.SNMP.VARIABLE_ID, b.SNMP.VARIABLE_ID);
    EXPECT_EQ(a.SNMP.SPECIFIC_ID, b.SNMP.SPECIFIC_ID);
    EXPECT_EQ(a.SNMP.SPECIFIC_ID_RESOLVED, b.SNMP.SPECIFIC_ID_RESOLVED);
    EXPECT_EQ(a.SNMP.SPECIFIC_ID_UNRESOLVED, b.SNMP.SPECIFIC_ID_UNRESOLVED);
}

const char* kChannelTables[] = {"NOTIFICATIONS_SMS",  "NOTIFICATIONS_MS_MAIL",
                                "NOTIFICATIONS_FAX",  "NOTIFICATIONS_PRINTER",
                                "NOTIFICATIONS_SMTP", "NOTIFICATIONS_SNMP"};

} // namespace

// ---------------------------------------------------------------- records

TEST(DBRecords, FreshRecordsCarryTheDocumentedValues) {
    DBAudition audition;
    EXPECT_EQ(audition.AUDITION_ID, 0);
    EXPECT_FALSE(audition.ACTIVE);
    EXPECT_EQ(audition.ACTIVE_BEGIN, 0);
    EXPECT_EQ(audition.ACTIVE_END, 24);
    EXPECT_FALSE(audition.ACTION_RESTART_APP || audition.ACTION_RESTART_SERVICE ||
                 audition.ACTION_RESTART_SYSTEM);
    EXPECT_EQ(audition.ACTION_SPECIAL_MASK, 0);
    EXPECT_TRUE(audition.NOTIFY_ALWAYS);
    EXPECT_FALSE(audition.NOTIFY_SUCCESS || audition.NOTIFY_FAILURE);
    EXPECT_EQ(audition.MAX_DURATION, 15);
    EXPECT_EQ(audition.AUDITION_TYPE, 0);
    DBNotification notification;
    EXPECT_EQ(notification.NOTIFICATION_ID, 0);
    EXPECT_EQ(notification.Printer.ACTIVE_BEGIN, 0);
    EXPECT_EQ(notification.Printer.ACTIVE_END, 24);
    EXPECT_EQ(notification.SNMP.ENTERPRISE, "1.3.6.1.4.1.0");
    EXPECT_EQ(notification.SNMP.VARIABLE_ID, "1.3.6.1.4.1.1.0");
    EXPECT_EQ(notification.SNMP.SPECIFIC_ID, 1);
    EXPECT_EQ(notification.SNMP.SPECIFIC_ID_RESOLVED, 2);
    EXPECT_EQ(notification.SNMP.SPECIFIC_ID_UNRESOLVED, 3);
    EXPECT_FALSE(notification.Valid());
    EXPECT_EQ(DBHProblem().MAX_DURATION, 20);
    EXPECT_FALSE(DBPlugin().Valid());
    EXPECT_FALSE(DBNotifyProfile().Valid());
}

// ---------------------------------------------------------------- notifications

TEST_F(DBEngineTest, NewNotificationAddsSevenRowsWithOneKey) {
    DBNotification notification = MakeNotification("Bereitschaft");
    ASSERT_TRUE(Engine().SetNotification(notification));
    const int32_t nID = notification.NOTIFICATION_ID;
    ASSERT_GT(nID, 0);
    EXPECT_TRUE(notification.Valid());
    EXPECT_EQ(notification.SNMP.NOTIFICATION_ID, nID);
    CloseEngine();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM NOTIFICATIONS"), 1);
    for (const char* pTable : kChannelTables)
        EXPECT_EQ(QueryInt(m_files.Config, std::string("SELECT COUNT(*) FROM ") + pTable +
                                               " WHERE NOTIFICATION_ID = " + std::to_string(nID)),
                  1)
            << pTable;
    // The columns the console never writes keep their defaults.
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT GENERIC_ID FROM NOTIFICATIONS_SNMP"), 6);
    EXPECT_EQ(m_trace.Total(), 0);
}

TEST_F(DBEngineTest, NotificationRoundTripAndChange) {
    DBNotification stored = MakeNotification("A");
    ASSERT_TRUE(Engine().SetNotification(stored));
    DBNotification other = MakeNotification("B");
    ASSERT_TRUE(Engine().SetNotification(other));

    DBNotification read;
    ASSERT_TRUE(Engine().GetNotification(stored.NOTIFICATION_ID, read));
    EXPECT_EQ(read.NAME, "A");
    EXPECT_EQ(read.DESCRIPTION, "Beschreibung A");
    EXPECT_TRUE(read.SMS_ACTIVE);
    EXPECT_FALSE(read.FAX_ACTIVE);
    EXPECT_TRUE(read.SMTP_ACTIVE);
    ExpectSameChannels(stored, read);

    read.NAME = "A2";
    read.SMTP.MAILTEXT = "geändert";
    read.Fax.ACTIVE_END = 12;
    ASSERT_TRUE(Engine().SetNotification(read));
    DBNotification again;
    ASSERT_TRUE(Engine().GetNotification(stored.NOTIFICATION_ID, again));
    EXPECT_EQ(again.NAME, "A2");
    ExpectSameChannels(read, again);
    DBNotification untouched;
    ASSERT_TRUE(Engine().GetNotification(other.NOTIFICATION_ID, untouched));
    EXPECT_EQ(untouched.NAME, "B");
    ExpectSameChannels(other, untouched);
    EXPECT_EQ(m_trace.Total(), 0);
}

TEST_F(DBEngineTest, NotificationWithEveryChannelOffKeepsItsSixChannelRows) {
    DBNotification notification;
    notification.NOTIFICATION_ID = DB_KEY_NEW;
    notification.NAME = "stumm";
    ASSERT_TRUE(Engine().SetNotification(notification));
    DBNotification read;
    ASSERT_TRUE(Engine().GetNotification(notification.NOTIFICATION_ID, read));
    EXPECT_TRUE(read.Valid());
    EXPECT_EQ(read.SNMP.ENTERPRISE, "1.3.6.1.4.1.0");
}

TEST_F(DBEngineTest, GetAllNotificationsOnAnEmptyTableIsAnEmptyList) {
    DBNotificationList list(3);
    EXPECT_TRUE(Engine().GetAllNotifications(list));
    EXPECT_TRUE(list.empty());
}

TEST_F(DBEngineTest, GetAllNotificationsReturnsCompleteRecords) {
    for (const char* pName : {"eins", "zwei", "drei"}) {
        DBNotification notification = MakeNotification(pName);
        ASSERT_TRUE(Engine().SetNotification(notification));
    }
    DBNotificationList list;
    ASSERT_TRUE(Engine().GetAllNotifications(list));
    ASSERT_EQ(list.size(), 3u);
    for (const DBNotification& notification : list) {
        EXPECT_TRUE(notification.Valid());
        ExpectSameChannels(MakeNotification(notification.NAME), notification);
    }
}

TEST_F(DBEngineTest, NotificationKeyChecksReportAndChangeNothing) {
    DBNotification notification;
    EXPECT_FALSE(Engine().GetNotification(0, notification));
    EXPECT_FALSE(Engine().GetNotification(-4, notification));
    EXPECT_FALSE(Engine().DeleteNotification(0));
    EXPECT_EQ(m_trace.Count("NotificationID > 0", "NotificationID nicht gültig"), 3);
    EXPECT_FALSE(Engine().GetNotification(99, notification));
    EXPECT_EQ(m_trace.Count("bSeekResult", "NotificationID nicht gefunden"), 1);

    DBNotification invalid = MakeNotification("x");
    invalid.NOTIFICATION_ID = 5; // channel keys still 0
    EXPECT_FALSE(Engine().SetNotification(invalid));
    EXPECT_EQ(m_trace.Count("DBNotification.Valid()", "DBNotification nicht gültig"), 1);
    EXPECT_TRUE(m_reporter.Errors().empty());
    CloseEngine();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM NOTIFICATIONS"), 0);
}

TEST_F(DBEngineTest, MissingChannelRowIsReportedAndTheStoreIsRolledBack) {
    DBNotification notification = MakeNotification("A");
    ASSERT_TRUE(Engine().SetNotification(notification));
    ExecSQL(m_files.Config, "DELETE FROM NOTIFICATIONS_PRINTER");
    DBNotification read;
    EXPECT_FALSE(Engine().GetNotification(notification.NOTIFICATION_ID, read));
    EXPECT_EQ(m_trace.Count("bSeekResult", "NotificationID nicht gefunden"), 1);

    notification.NAME = "geändert";
    notification.SMS.RECIPIENT = "neu";
    EXPECT_FALSE(Engine().SetNotification(notification));
    EXPECT_EQ(m_trace.Count("bSeekResult", "NotificationID nicht gefunden"), 2);
    CloseEngine();
    EXPECT_EQ(QueryText(m_files.Config, "SELECT NAME FROM NOTIFICATIONS"), "A");
    EXPECT_EQ(QueryText(m_files.Config, "SELECT RECIPIENT FROM NOTIFICATIONS_SMS"), "0171 1234567");
}

TEST_F(DBEngineTest, DeleteNotificationRemovesItsRowsAndItsPlacesInProfiles) {
    DBNotification a = MakeNotification("a"), b = MakeNotification("b"), c = MakeNotification("c");
    ASSERT_TRUE(Engine().SetNotification(a));
    ASSERT_TRUE(Engine().SetNotification(b));
    ASSERT_TRUE(Engine().SetNotification(c));
    DBNotifyProfile profile{DB_KEY_NEW, "Profil", ""};
    ASSERT_TRUE(Engine().SetNotifyProfile(profile));
    ASSERT_TRUE(Engine().SetNotifyProfileNotifications(
        profile.PROFILE_ID, {a.NOTIFICATION_ID, b.NOTIFICATION_ID, c.NOTIFICATION_ID}));

    ASSERT_TRUE(Engine().DeleteNotification(b.NOTIFICATION_ID));
    DBKeyList keys;
    ASSERT_TRUE(Engine().GetNotifyProfileNotifications(profile.PROFILE_ID, keys));
    EXPECT_EQ(keys, (DBKeyList{a.NOTIFICATION_ID, c.NOTIFICATION_ID}));
    DBNotification read;
    EXPECT_TRUE(Engine().GetNotification(c.NOTIFICATION_ID, read));
    CloseEngine();
    const std::string strB = std::to_string(b.NOTIFICATION_ID);
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM NOTIFICATIONS"), 2);
    for (const char* pTable : kChannelTables) {
        EXPECT_EQ(QueryInt(m_files.Config, std::string("SELECT COUNT(*) FROM ") + pTable), 2);
        EXPECT_EQ(QueryInt(m_files.Config, std::string("SELECT COUNT(*) FROM ") + pTable +
                                               " WHERE NOTIFICATION_ID = " + strB),
                  0);
    }
    // The gap stays until the profile is stored again.
    EXPECT_EQ(QueryText(m_files.Config, "SELECT group_concat(SEQUENCE_NR) FROM (SELECT "
                                        "SEQUENCE_NR FROM R_NOTIFY_PROFILE_NFCN ORDER BY 1)"),
              "1,3");
}

// ---------------------------------------------------------------- auditions

struct AuditionTypeCase {
    AuditionType eType;
    const char* strDetailTable;
    const char* strComputer; // the agent computer; empty for the types without agent
};

class DBAuditionTypeTest : public DBEngineTest,
                           public ::testing::WithParamInterface<AuditionTypeCase> {};

TEST_P(DBAuditionTypeTest, StoresOneDetailRowAndReadsItBack) {
    const AuditionTypeCase& param = GetParam();
    DBAudition audition = MakeAudition(param.eType, "Test");
    ASSERT_TRUE(Engine().SetAudition(audition));
    const int32_t nID = audition.AUDITION_ID;
    ASSERT_GT(nID, 0);

    DBAudition read;
    ASSERT_TRUE(Engine().GetAudition(nID, read));
    DBAudition expected = MakeAudition(param.eType, "Test");
    EXPECT_EQ(read.NAME, expected.NAME);
    EXPECT_EQ(read.DESCRIPTION, expected.DESCRIPTION);
    EXPECT_EQ(read.ACTIVE_BEGIN, 22);
    EXPECT_EQ(read.ACTIVE_END, 6);
    EXPECT_TRUE(read.ACTION_RESTART_SYSTEM);
    EXPECT_FALSE(read.ACTION_RESTART_APP);
    EXPECT_EQ(read.MAX_DURATION, 30);
    EXPECT_EQ(read.RESTART_PARAMETERS, "-force");
    EXPECT_TRUE(read.NOTIFY_FAILURE);
    EXPECT_EQ(read.AgentComputer, param.strComputer);
    EXPECT_EQ((read.ACTION_SPECIAL_MASK & ACTION_SPECIAL_NO_AGENT) != 0,
              std::string(param.strComputer).empty());
    switch (param.eType) {
    case AuditionType::App:
        EXPECT_EQ(read.App.APP_MODULE, "app.exe");
        EXPECT_EQ(read.App.AUDITION_ID, nID);
        break;
    case AuditionType::Service:
        EXPECT_EQ(read.Service.SERVICE_DISPLAYNAME, "Druckwarteschlange");
        EXPECT_EQ(read.Service.SERVICE_NAME, "Spooler");
        break;
    case AuditionType::Logfile:
        EXPECT_EQ(read.Logfile.CHECK_TYPE, 2);
        EXPECT_EQ(read.Logfile.CHECK_INTERVAL, 7);
        EXPECT_EQ(read.Logfile.LOGFILE, "/var/log/app.log");
        break;
    case AuditionType::NTEvtLog:
        EXPECT_TRUE(read.NTEvtLog.AUDIT_APPLOG);
        EXPECT_FALSE(read.NTEvtLog.AUDIT_ERROR);
        EXPECT_EQ(read.NTEvtLog.FILTER_ID, "100;200");
        EXPECT_EQ(read.NTEvtLog.FILTER_TYPE, 1);
        break;
    case AuditionType::Net:
        EXPECT_EQ(read.Net.IP_ADDRESS, "127.0.0.1");
        EXPECT_EQ(read.Net.TIMEOUT, 9);
        EXPECT_EQ(read.Net.SERVER_PATH, "router");
        break;
    case AuditionType::Plugin:
        EXPECT_EQ(read.Plugin.PLUGIN_TYPE, 77);
        EXPECT_EQ(read.Plugin.PLUGIN_NAME, "Disk space");
        break;
    }
    CloseEngine();
    for (const char* pTable : {"AUDITIONS_APP", "AUDITIONS_SERVICE", "AUDITIONS_LOGFILE",
                               "AUDITIONS_NTEVTLOG", "AUDITIONS_NET", "AUDITIONS_PLUGIN"})
        EXPECT_EQ(QueryInt(m_files.Config, std::string("SELECT COUNT(*) FROM ") + pTable),
                  std::string(pTable) == param.strDetailTable ? 1 : 0)
            << pTable;
    EXPECT_EQ(m_trace.Total(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, DBAuditionTypeTest,
    ::testing::Values(AuditionTypeCase{AuditionType::App, "AUDITIONS_APP", "APPHOST"},
                      AuditionTypeCase{AuditionType::Service, "AUDITIONS_SERVICE", "SVCHOST"},
                      AuditionTypeCase{AuditionType::Logfile, "AUDITIONS_LOGFILE", ""},
                      AuditionTypeCase{AuditionType::NTEvtLog, "AUDITIONS_NTEVTLOG", "EVTHOST"},
                      AuditionTypeCase{AuditionType::Net, "AUDITIONS_NET", ""},
                      AuditionTypeCase{AuditionType::Plugin, "AUDITIONS_PLUGIN", "PLUGHOST"}));

TEST_F(DBEngineTest, ChangingAnAuditionRewritesItsRowAndDetailOnly) {
    DBAudition a = MakeAudition(AuditionType::Net, "a");
    DBAudition b = MakeAudition(AuditionType::Net, "b");
    ASSERT_TRUE(Engine().SetAudition(a));
    ASSERT_TRUE(Engine().SetAudition(b));
    a.NAME = "a2";
    a.Net.IP_ADDRESS = "127.0.0.2";
    ASSERT_TRUE(Engine().SetAudition(a));
    DBAudition readA, readB;
    ASSERT_TRUE(Engine().GetAudition(a.AUDITION_ID, readA));
    ASSERT_TRUE(Engine().GetAudition(b.AUDITION_ID, readB));
    EXPECT_EQ(readA.NAME, "a2");
    EXPECT_EQ(readA.Net.IP_ADDRESS, "127.0.0.2");
    EXPECT_EQ(readB.NAME, "b");
    EXPECT_EQ(readB.Net.IP_ADDRESS, "127.0.0.1");
}

TEST_F(DBEngineTest, AuditionWithUnknownTypeIsRefusedWithoutWriting) {
    for (int32_t nType : {0, 7}) {
        DBAudition audition = MakeAudition(AuditionType::App, "x");
        audition.AUDITION_TYPE = nType;
        EXPECT_FALSE(Engine().SetAudition(audition));
        EXPECT_EQ(audition.AUDITION_ID, AUDITION_ID_NEW);
    }
    EXPECT_EQ(m_trace.Count("FALSE", "Unbekannter Überwachungstyp"), 2);
    CloseEngine();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM AUDITIONS"), 0);
}

TEST_F(DBEngineTest, UnknownTypeInTheFileIsReportedOnReading) {
    DBAudition audition = MakeAudition(AuditionType::App, "x");
    ASSERT_TRUE(Engine().SetAudition(audition));
    ExecSQL(m_files.Config, "UPDATE AUDITIONS SET AUDITION_TYPE = 9");
    DBAudition read;
    EXPECT_FALSE(Engine().GetAudition(audition.AUDITION_ID, read));
    EXPECT_EQ(m_trace.Count("FALSE", "Unbekannter Überwachungstyp"), 1);
    // The list still holds it, as far as it could be read.
    DBAuditionList list;
    EXPECT_TRUE(Engine().GetAllAuditions(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].NAME, "x");
}

TEST_F(DBEngineTest, AuditionKeyChecks) {
    DBAudition audition = MakeAudition(AuditionType::Logfile, "x");
    audition.AUDITION_ID = 0;
    EXPECT_FALSE(Engine().SetAudition(audition));
    EXPECT_EQ(m_trace.Count("DBAudition.ID > 0", "DBAudition nicht gültig"), 1);
    audition.AUDITION_ID = 42;
    EXPECT_FALSE(Engine().SetAudition(audition));
    EXPECT_EQ(m_trace.Count("bSeekResult", "AuditionID nicht gefunden"), 1);
    DBAudition read;
    EXPECT_FALSE(Engine().GetAudition(0, read));
    EXPECT_FALSE(Engine().DeleteAudition(-1));
    EXPECT_FALSE(Engine().IsAuditionValid(0));
    EXPECT_EQ(m_trace.Count("AuditionID > 0", "AuditionID nicht gültig"), 3);
    EXPECT_FALSE(Engine().GetAudition(42, read));
    EXPECT_EQ(m_trace.Count("bSeekResult", "AuditionID nicht gefunden"), 2);
    EXPECT_TRUE(m_reporter.Errors().empty());
    CloseEngine();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM AUDITIONS"), 0);
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM AUDITIONS_LOGFILE"), 0);
}

TEST_F(DBEngineTest, MissingDetailRowIsReported) {
    DBAudition audition = MakeAudition(AuditionType::Service, "x");
    ASSERT_TRUE(Engine().SetAudition(audition));
    ExecSQL(m_files.Config, "DELETE FROM AUDITIONS_SERVICE");
    DBAudition read;
    EXPECT_FALSE(Engine().GetAudition(audition.AUDITION_ID, read));
    EXPECT_EQ(m_trace.Count("bSeekResult", "AuditionID nicht gefunden"), 1);
    audition.NAME = "y";
    EXPECT_FALSE(Engine().SetAudition(audition));
    CloseEngine();
    EXPECT_EQ(QueryText(m_files.Config, "SELECT NAME FROM AUDITIONS"), "x");
}

TEST_F(DBEngineTest, DeleteAuditionCascadesAndIsAuditionValidFollows) {
    DBAudition a = MakeAudition(AuditionType::Plugin, "a");
    DBAudition b = MakeAudition(AuditionType::Plugin, "b");
    ASSERT_TRUE(Engine().SetAudition(a));
    ASSERT_TRUE(Engine().SetAudition(b));
    ASSERT_TRUE(Engine().SetAuditNotifyProfiles(a.AUDITION_ID, {1, 2}));
    ASSERT_TRUE(Engine().SetAuditNotifyProfiles(b.AUDITION_ID, {3}));
    EXPECT_TRUE(Engine().IsAuditionValid(a.AUDITION_ID));
    ASSERT_TRUE(Engine().DeleteAudition(a.AUDITION_ID));
    EXPECT_FALSE(Engine().IsAuditionValid(a.AUDITION_ID));
    EXPECT_TRUE(Engine().IsAuditionValid(b.AUDITION_ID));
    DBKeyList keys;
    ASSERT_TRUE(Engine().GetAuditNotifyProfiles(b.AUDITION_ID, keys));
    EXPECT_EQ(keys, DBKeyList{3});
    EXPECT_EQ(m_trace.Total(), 0);
    CloseEngine();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM AUDITIONS_PLUGIN"), 1);
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM R_AUDIT_NOTIFY_PROFILE"), 1);
}

TEST_F(DBEngineTest, GetAllAuditionsOfMixedTypes) {
    const AuditionType types[] = {AuditionType::App,     AuditionType::Service,
                                  AuditionType::Logfile, AuditionType::NTEvtLog,
                                  AuditionType::Net,     AuditionType::Plugin};
    for (AuditionType eType : types) {
        DBAudition audition = MakeAudition(eType, "t" + std::to_string(static_cast<int>(eType)));
        ASSERT_TRUE(Engine().SetAudition(audition));
    }
    DBAuditionList list;
    ASSERT_TRUE(Engine().GetAllAuditions(list));
    ASSERT_EQ(list.size(), 6u);
    for (const DBAudition& audition : list)
        EXPECT_EQ(audition.NAME, "t" + std::to_string(audition.AUDITION_TYPE));
    EXPECT_EQ(list[0].AgentComputer, "APPHOST");
    EXPECT_EQ(list[4].Net.IP_ADDRESS, "127.0.0.1");
}

// ---------------------------------------------------------------- notify profiles

TEST_F(DBEngineTest, NotifyProfilesAndTheirChecks) {
    DBNotifyProfile profile{DB_KEY_NEW, "Nacht", "nachts"};
    ASSERT_TRUE(Engine().SetNotifyProfile(profile));
    ASSERT_GT(profile.PROFILE_ID, 0);
    profile.NAME = "Nachtdienst";
    ASSERT_TRUE(Engine().SetNotifyProfile(profile));
    DBNotifyProfile read;
    ASSERT_TRUE(Engine().GetNotifyProfile(profile.PROFILE_ID, read));
    EXPECT_EQ(read.NAME, "Nachtdienst");
    EXPECT_EQ(read.DESCRIPTION, "nachts");
    DBNotifyProfileList list;
    ASSERT_TRUE(Engine().GetAllNotifyProfiles(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(m_trace.Total(), 0);

    EXPECT_FALSE(Engine().GetNotifyProfile(55, read));
    EXPECT_EQ(m_trace.Count("bSeekResult", "Profile ID nicht gefunden"), 1);
    DBNotifyProfile missing{55, "x", ""};
    EXPECT_FALSE(Engine().SetNotifyProfile(missing));
    EXPECT_EQ(m_trace.Count("bSeekResult", "ProfileID nicht gefunden"), 1);
    DBNotifyProfile invalid{0, "x", ""};
    EXPECT_FALSE(Engine().SetNotifyProfile(invalid));
    EXPECT_EQ(m_trace.Count("DBNotifyProfiles.Valid()", "DBNotifyProfiles nicht gültig"), 1);
    EXPECT_FALSE(Engine().DeleteNotifyProfile(0));
    EXPECT_EQ(m_trace.Count("ProfileID > 0", "ProfileID nicht gültig"), 1);
}

TEST_F(DBEngineTest, DeleteNotifyProfileRemovesItFromBothRelations) {
    DBNotifyProfile keep{DB_KEY_NEW, "keep", ""}, gone{DB_KEY_NEW, "gone", ""};
    ASSERT_TRUE(Engine().SetNotifyProfile(keep));
    ASSERT_TRUE(Engine().SetNotifyProfile(gone));
    ASSERT_TRUE(Engine().SetNotifyProfileNotifications(gone.PROFILE_ID, {4, 5}));
    ASSERT_TRUE(Engine().SetNotifyProfileNotifications(keep.PROFILE_ID, {6}));
    ASSERT_TRUE(Engine().SetAuditNotifyProfiles(9, {keep.PROFILE_ID, gone.PROFILE_ID}));
    ASSERT_TRUE(Engine().DeleteNotifyProfile(gone.PROFILE_ID));
    DBKeyList keys;
    ASSERT_TRUE(Engine().GetAuditNotifyProfiles(9, keys));
    EXPECT_EQ(keys, DBKeyList{keep.PROFILE_ID});
    ASSERT_TRUE(Engine().GetNotifyProfileNotifications(gone.PROFILE_ID, keys));
    EXPECT_TRUE(keys.empty());
    ASSERT_TRUE(Engine().GetNotifyProfileNotifications(keep.PROFILE_ID, keys));
    EXPECT_EQ(keys, DBKeyList{6});
}

TEST_F(DBEngineTest, OrderedRelationsAreRewrittenOneTwoThree) {
    ASSERT_TRUE(Engine().SetNotifyProfileNotifications(1, {7, 3, 7}));
    ASSERT_TRUE(Engine().SetNotifyProfileNotifications(2, {8}));
    DBKeyList keys;
    ASSERT_TRUE(Engine().GetNotifyProfileNotifications(1, keys));
    EXPECT_EQ(keys, (DBKeyList{7, 3, 7}));
    ASSERT_TRUE(Engine().SetNotifyProfileNotifications(1, {3, 9}));
    ASSERT_TRUE(Engine().GetNotifyProfileNotifications(1, keys));
    EXPECT_EQ(keys, (DBKeyList{3, 9}));
    ASSERT_TRUE(Engine().SetAuditNotifyProfiles(5, {2, 1}));
    ASSERT_TRUE(Engine().GetAuditNotifyProfiles(5, keys));
    EXPECT_EQ(keys, (DBKeyList{2, 1}));
    ASSERT_TRUE(Engine().SetNotifyProfileNotifications(2, {}));
    ASSERT_TRUE(Engine().GetNotifyProfileNotifications(2, keys));
    EXPECT_TRUE(keys.empty());
    CloseEngine();
    EXPECT_EQ(QueryText(m_files.Config, "SELECT group_concat(SEQUENCE_NR || ':' || "
                                        "NOTIFICATION_ID) FROM (SELECT * FROM "
                                        "R_NOTIFY_PROFILE_NFCN ORDER BY SEQUENCE_NR)"),
              "1:3,2:9");
}

TEST_F(DBEngineTest, RelationWithGapsIsRenumberedOnWrite) {
    CloseEngine();
    ExecSQL(m_files.Config, "INSERT INTO R_AUDIT_NOTIFY_PROFILE VALUES (4, 5, 50), (4, 2, 20), "
                            "(4, 9, 90)");
    m_pEngine = std::make_unique<CDBEngineTARN>(&m_reporter);
    bool bConfig = false, bHistory = false;
    ASSERT_TRUE(Engine().Open(m_files.Config, m_files.History, bConfig, bHistory));
    DBKeyList keys;
    ASSERT_TRUE(Engine().GetAuditNotifyProfiles(4, keys));
    EXPECT_EQ(keys, (DBKeyList{20, 50, 90}));
    ASSERT_TRUE(Engine().SetAuditNotifyProfiles(4, keys));
    CloseEngine();
    EXPECT_EQ(QueryText(m_files.Config, "SELECT group_concat(SEQUENCE_NR) FROM (SELECT * FROM "
                                        "R_AUDIT_NOTIFY_PROFILE ORDER BY SEQUENCE_NR)"),
              "1,2,3");
}

// ---------------------------------------------------------------- one-row tables

TEST_F(DBEngineTest, ConfigurationRowRoundTrip) {
    DBConfiguration configuration;
    ASSERT_TRUE(Engine().GetConfiguration(configuration));
    EXPECT_EQ(configuration.DATA_DIRECTORY, m_dir.Path() + "/data/");
    configuration.PROTOCOLFILE = "/tmp/anders.log";
    ASSERT_TRUE(Engine().SetConfiguration(configuration));
    DBConfiguration read;
    ASSERT_TRUE(Engine().GetConfiguration(read));
    EXPECT_EQ(read.PROTOCOLFILE, "/tmp/anders.log");
}

TEST_F(DBEngineTest, ConfigurationWithTwoRowsChangesOnlyTheFirst) {
    ExecSQL(m_files.Config, "INSERT INTO CONFIGURATION VALUES ('second', 'second/')");
    DBConfiguration configuration{"neu.log", "neu/"};
    ASSERT_TRUE(Engine().SetConfiguration(configuration));
    CloseEngine();
    EXPECT_EQ(QueryText(m_files.Config,
                        "SELECT group_concat(PROTOCOLFILE) FROM (SELECT * FROM CONFIGURATION "
                        "ORDER BY rowid)"),
              "neu.log,second");
}

TEST_F(DBEngineTest, EmptyConfigurationTableIsAnEngineError) {
    ExecSQL(m_files.Config, "DELETE FROM CONFIGURATION");
    DBConfiguration configuration;
    EXPECT_FALSE(Engine().GetConfiguration(configuration));
    ASSERT_EQ(m_reporter.Errors().size(), 1u);
    EXPECT_NE(m_reporter.Errors()[0].find("\"GetConfiguration\""), std::string::npos);
}

TEST_F(DBEngineTest, ServiceSettingsRoundTrip) {
    DBNotifySrvConfig services;
    ASSERT_TRUE(Engine().GetNotifyServicesConfig(services));
    EXPECT_EQ(services.SMS_GATEWAY_D1, kSmsCentreD1);
    EXPECT_EQ(services.SMS_GATEWAY_NATEL_D, kSmsCentreNatelD);
    EXPECT_EQ(services.FAX_MODEM_INIT_STRING, "ATZ");
    services.SMS_DIAL_PREFIX = "0";
    services.SMS_RETRIES = 5;
    services.MSMAIL_LOGON_PROFILE = "Ops";
    services.MSMAIL_LOGON_PROFILE_PASSWORD = "geheim";
    services.FAX_COM_PORT = 2;
    services.FAX_DIAL_TYPE = 1;
    services.SMTP_MAILSERVER = "mail.example.org";
    services.SMTP_SENDER = "tarn@example.org";
    ASSERT_TRUE(Engine().SetNotifyServicesConfig(services));
    DBNotifySrvConfig read;
    ASSERT_TRUE(Engine().GetNotifyServicesConfig(read));
    EXPECT_EQ(read.SMS_DIAL_PREFIX, "0");
    EXPECT_EQ(read.SMS_RETRIES, 5);
    EXPECT_EQ(read.MSMAIL_LOGON_PROFILE_PASSWORD, "geheim");
    EXPECT_EQ(read.FAX_COM_PORT, 2);
    EXPECT_EQ(read.FAX_DIAL_TYPE, 1);
    EXPECT_EQ(read.SMTP_SENDER, "tarn@example.org");
    EXPECT_EQ(read.SMS_GATEWAY_QUIX, kSmsCentreQuix);
}

struct OneRowCase {
    const char* strTable;
    const char* strCondition;
    const char* strDescription;
};

class DBServiceRowCountTest : public DBEngineTest,
                              public ::testing::WithParamInterface<OneRowCase> {};

TEST_P(DBServiceRowCountTest, TwoRowsAreReportedAndNothingIsWritten) {
    const std::string strTable = GetParam().strTable;
    ExecSQL(m_files.Config, "INSERT INTO " + strTable + " DEFAULT VALUES");
    DBNotifySrvConfig services;
    EXPECT_FALSE(Engine().GetNotifyServicesConfig(services));
    EXPECT_EQ(m_trace.Count(GetParam().strCondition, GetParam().strDescription), 1);
    services.SMTP_SENDER = "neu@example.org";
    services.SMS_DIAL_PREFIX = "9";
    EXPECT_FALSE(Engine().SetNotifyServicesConfig(services));
    EXPECT_EQ(m_trace.Count(GetParam().strCondition, GetParam().strDescription), 2);
    CloseEngine();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM NOTIFY_SERVICE_CFG_SMTP WHERE "
                                       "SENDER = 'neu@example.org'"),
              0);
    EXPECT_EQ(QueryInt(m_files.Config,
                       "SELECT COUNT(*) FROM NOTIFY_SERVICE_CFG_SMS WHERE DIAL_PREFIX = '9'"),
              0);
}

TEST_P(DBServiceRowCountTest, NoRowIsReported) {
    ExecSQL(m_files.Config, std::string("DELETE FROM ") + GetParam().strTable);
    DBNotifySrvConfig services;
    EXPECT_FALSE(Engine().GetNotifyServicesConfig(services));
    EXPECT_EQ(m_trace.Count(GetParam().strCondition, GetParam().strDescription), 1);
}

INSTANTIATE_TEST_SUITE_P(
    EveryServiceTable, DBServiceRowCountTest,
    ::testing::Values(
        OneRowCase{"NOTIFY_SERVICE_CFG_SMS", "DBRCfgNotifySrvSMS.GetRecordCount() == 1",
                   "Ungültiger Datensatz: CDBRCfgNotifySrvSMS"},
        OneRowCase{"NOTIFY_SERVICE_CFG_MSMAIL", "DBRCfgNotifySrvMSMail.GetRecordCount() == 1",
                   "Ungültiger Datensatz: CDBRCfgNotifySrvMSMail"},
        OneRowCase{"NOTIFY_SERVICE_CFG_FAX", "DBRCfgNotifySrvFax.GetRecordCount() == 1",
                   "Ungültiger Datensatz: DBRCfgNotifySrvFax"},
        OneRowCase{"NOTIFY_SERVICE_CFG_SMTP", "DBRCfgNotifySrvSMTP.GetRecordCount() == 1",
                   "Ungültiger Datensatz: DBRCfgNotifySrvSMTP"}));

// ---------------------------------------------------------------- plug-ins

TEST_F(DBEngineTest, PluginsByType) {
    ASSERT_TRUE(Engine().SetPlugin(DBPlugin{7, "Disk", "disk.spi"}));
    ASSERT_TRUE(Engine().SetPlugin(DBPlugin{-3, "Neg", "neg.spi"}));
    ASSERT_TRUE(Engine().SetPlugin(DBPlugin{7, "Disk 2", "disk2.spi"}));
    DBPluginList list;
    ASSERT_TRUE(Engine().GetAllPlugins(list));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].PLUGIN_TYPE, 7);
    EXPECT_EQ(list[0].PLUGIN_NAME, "Disk 2");
    EXPECT_EQ(list[0].PLUGIN_MODULE, "disk2.spi");
    EXPECT_FALSE(Engine().SetPlugin(DBPlugin{0, "Null", "null.spi"}));
    EXPECT_FALSE(Engine().DeletePlugin(DBPlugin{0, "", ""}));
    EXPECT_EQ(m_trace.Count("DBPlugin.Valid()", "DBPlugin nicht gültig"), 2);
    ASSERT_TRUE(Engine().DeletePlugin(DBPlugin{7, "", ""}));
    ASSERT_TRUE(Engine().GetAllPlugins(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].PLUGIN_TYPE, -3);
    CloseEngine();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM PLUGINS WHERE PLUGIN_TYPE = 0"), 0);
}

// ---------------------------------------------------------------- history

TEST_F(DBEngineTest, ProblemsAndEvents) {
    DBHProblem problem;
    problem.PROBLEM_ID = DB_KEY_NEW;
    problem.PROBLEM_STATUS = PROBLEM_OPEN;
    problem.PROBLEM_DESCRIPTION = "Dienst gestoppt";
    problem.PROBLEM_BEGIN = "19980301235959";
    problem.AUDITION_ID = 5;
    problem.AUDITION_NAME = "Spooler";
    problem.COMPUTER_NAME = "SVCHOST";
    ASSERT_TRUE(Engine().SetProblem(problem));
    ASSERT_GT(problem.PROBLEM_ID, 0);
    for (int i = 0; i < 3; ++i) {
        DBHEvent event;
        event.EVENT_ID = DB_KEY_NEW;
        event.DATE = "1998030123595" + std::to_string(i);
        event.COMPUTER = "SVCHOST";
        event.SOURCE = 3;
        event.TYPE = 4;
        event.CATEGORY = EVENT_CATEGORY_NOTIFICATION;
        event.INFO_ID = "1";
        event.EVENT_DESCRIPTION = "Ereignis " + std::to_string(i);
        event.PROBLEM_ID = problem.PROBLEM_ID;
        ASSERT_TRUE(Engine().SetEventEntry(event));
        ASSERT_GT(event.EVENT_ID, 0);
    }
    DBHEventList events;
    ASSERT_TRUE(Engine().GetProblemEventEntries(problem.PROBLEM_ID, events));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].EVENT_DESCRIPTION, "Ereignis 2");
    EXPECT_EQ(events[2].CATEGORY, 11);

    events[1].EVENT_DESCRIPTION = "geändert";
    ASSERT_TRUE(Engine().SetEventEntry(events[1]));
    DBHEventList again;
    ASSERT_TRUE(Engine().GetProblemEventEntries(problem.PROBLEM_ID, again));
    EXPECT_EQ(again[1].EVENT_DESCRIPTION, "geändert");

    DBHProblem read;
    ASSERT_TRUE(Engine().GetProblem(problem.PROBLEM_ID, read));
    EXPECT_EQ(read.PROBLEM_END, "");
    EXPECT_EQ(read.AUDITION_NAME, "Spooler");
    read.PROBLEM_STATUS = PROBLEM_RESOLVED;
    read.PROBLEM_END = "19980302000000";
    read.ERROR_COUNT = 2;
    ASSERT_TRUE(Engine().SetProblem(read));
    DBHProblem closed;
    ASSERT_TRUE(Engine().GetProblem(problem.PROBLEM_ID, closed));
    EXPECT_EQ(closed.PROBLEM_STATUS, PROBLEM_RESOLVED);
    EXPECT_EQ(closed.ERROR_COUNT, 2);
    EXPECT_EQ(m_trace.Total(), 0);
}

TEST_F(DBEngineTest, ProblemSelection) {
    struct Row {
        int32_t nAudition, nStatus;
    };
    for (Row row : {Row{5, 1}, Row{5, 1}, Row{5, 4}, Row{6, 1}, Row{6, 2}}) {
        DBHProblem problem;
        problem.PROBLEM_ID = DB_KEY_NEW;
        problem.AUDITION_ID = row.nAudition;
        problem.PROBLEM_STATUS = row.nStatus;
        ASSERT_TRUE(Engine().SetProblem(problem));
    }
    struct Case {
        int32_t nAuditionFilter, nStatusFilter;
        size_t nExpected;
    };
    for (Case c : {Case{0, 0, 5}, Case{5, 0, 5}, Case{0, 1, 3}, Case{5, 1, 2}, Case{6, 1, 1},
                   Case{6, 4, 0}, Case{0, 2, 1}}) {
        DBHProblemList list(7);
        ASSERT_TRUE(Engine().GetAllProblems(c.nAuditionFilter, c.nStatusFilter, list));
        EXPECT_EQ(list.size(), c.nExpected) << c.nAuditionFilter << "/" << c.nStatusFilter;
        for (const DBHProblem& problem : list) {
            if (c.nStatusFilter) {
                EXPECT_EQ(problem.PROBLEM_STATUS, c.nStatusFilter);
            }
            if (c.nStatusFilter && c.nAuditionFilter) {
                EXPECT_EQ(problem.AUDITION_ID, c.nAuditionFilter);
            }
        }
    }
}

TEST_F(DBEngineTest, DeleteProblemRemovesItsEventsOnly) {
    DBHProblem a, b, lonely;
    a.PROBLEM_ID = b.PROBLEM_ID = lonely.PROBLEM_ID = DB_KEY_NEW;
    ASSERT_TRUE(Engine().SetProblem(a));
    ASSERT_TRUE(Engine().SetProblem(b));
    ASSERT_TRUE(Engine().SetProblem(lonely));
    for (int32_t nProblem : {a.PROBLEM_ID, a.PROBLEM_ID, b.PROBLEM_ID}) {
        DBHEvent event;
        event.EVENT_ID = DB_KEY_NEW;
        event.PROBLEM_ID = nProblem;
        ASSERT_TRUE(Engine().SetEventEntry(event));
    }
    ASSERT_TRUE(Engine().DeleteProblem(a.PROBLEM_ID));
    ASSERT_TRUE(Engine().DeleteProblem(lonely.PROBLEM_ID));
    DBHProblemList problems;
    ASSERT_TRUE(Engine().GetAllProblems(0, 0, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].PROBLEM_ID, b.PROBLEM_ID);
    DBHEventList events;
    ASSERT_TRUE(Engine().GetProblemEventEntries(b.PROBLEM_ID, events));
    EXPECT_EQ(events.size(), 1u);
    CloseEngine();
    EXPECT_EQ(QueryInt(m_files.History, "SELECT COUNT(*) FROM EVENTS"), 1);
}

TEST_F(DBEngineTest, HistoryKeyChecks) {
    DBHProblem problem;
    EXPECT_FALSE(Engine().GetProblem(0, problem));
    EXPECT_FALSE(Engine().DeleteProblem(-2));
    DBHEventList events;
    EXPECT_FALSE(Engine().GetProblemEventEntries(0, events));
    EXPECT_EQ(m_trace.Count("ProblemID > 0", "ProblemID nicht gültig"), 3);
    EXPECT_FALSE(Engine().GetProblem(99, problem));
    EXPECT_EQ(m_trace.Count("bSeekResult", "ProblemID nicht gefunden"), 1);
    problem.PROBLEM_ID = 0;
    EXPECT_FALSE(Engine().SetProblem(problem));
    EXPECT_EQ(m_trace.Count("DBHProblem.ProblemID > 0", "DBHProblem nicht gültig"), 1);
    problem.PROBLEM_ID = 99;
    EXPECT_FALSE(Engine().SetProblem(problem));
    EXPECT_EQ(m_trace.Count("bSeekResult", "ProblemID nicht gefunden"), 2);
    DBHEvent event;
    event.EVENT_ID = 0;
    EXPECT_FALSE(Engine().SetEventEntry(event));
    EXPECT_EQ(m_trace.Count("DBHEvent.EventID > 0", "DBHEvent nicht gültig"), 1);
    event.EVENT_ID = 12;
    EXPECT_FALSE(Engine().SetEventEntry(event));
    EXPECT_EQ(m_trace.Count("bSeekResult", "EventID nicht gefunden"), 1);
    CloseEngine();
    EXPECT_EQ(QueryInt(m_files.History, "SELECT COUNT(*) FROM PROBLEMS"), 0);
    EXPECT_EQ(QueryInt(m_files.History, "SELECT COUNT(*) FROM EVENTS"), 0);
}

TEST_F(DBEngineTest, ProblemOfADeletedAuditionIsStillListed) {
    DBAudition audition = MakeAudition(AuditionType::Net, "weg");
    ASSERT_TRUE(Engine().SetAudition(audition));
    DBHProblem problem;
    problem.PROBLEM_ID = DB_KEY_NEW;
    problem.AUDITION_ID = audition.AUDITION_ID;
    problem.AUDITION_NAME = "weg";
    problem.COMPUTER_NAME = "router";
    problem.PROBLEM_STATUS = PROBLEM_OPEN;
    ASSERT_TRUE(Engine().SetProblem(problem));
    ASSERT_TRUE(Engine().DeleteAudition(audition.AUDITION_ID));
    DBHProblemList list;
    ASSERT_TRUE(Engine().GetAllProblems(audition.AUDITION_ID, PROBLEM_OPEN, list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].AUDITION_NAME, "weg");
    EXPECT_EQ(list[0].COMPUTER_NAME, "router");
}

// ---------------------------------------------------------------- text limits

TEST_F(DBEngineTest, TextLongerThanItsColumnIsRefusedAndNothingIsWritten) {
    DBAudition audition = MakeAudition(AuditionType::NTEvtLog, std::string(256, 'x'));
    audition.DESCRIPTION = "kurz";
    EXPECT_FALSE(Engine().SetAudition(audition));
    EXPECT_EQ(audition.AUDITION_ID, AUDITION_ID_NEW);
    ASSERT_EQ(m_reporter.Errors().size(), 1u);
    EXPECT_NE(m_reporter.Errors()[0].find("\"SetAudition\""), std::string::npos);
    EXPECT_NE(m_reporter.Errors()[0].find("AUDITIONS.NAME"), std::string::npos);

    // A detail text too long fails after the main row was added: rolled back.
    DBAudition detail = MakeAudition(AuditionType::NTEvtLog, "ok");
    detail.NTEvtLog.SERVER_PATH = std::string(300, 'y');
    EXPECT_FALSE(Engine().SetAudition(detail));

    // 255 characters of two bytes each fit; memo columns have no limit.
    std::string strUmlauts;
    for (int i = 0; i < 255; ++i)
        strUmlauts += "ä";
    DBAudition fits = MakeAudition(AuditionType::NTEvtLog, strUmlauts);
    fits.DESCRIPTION = "kurz";
    fits.NTEvtLog.FILTER_SOURCE = std::string(10000, 'z');
    ASSERT_TRUE(Engine().SetAudition(fits));
    DBAudition read;
    ASSERT_TRUE(Engine().GetAudition(fits.AUDITION_ID, read));
    EXPECT_EQ(read.NAME, strUmlauts);
    EXPECT_EQ(read.NTEvtLog.FILTER_SOURCE.size(), 10000u);
    CloseEngine();
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM AUDITIONS"), 1);
    EXPECT_EQ(QueryInt(m_files.Config, "SELECT COUNT(*) FROM AUDITIONS_NTEVTLOG"), 1);
}

TEST_F(DBEngineTest, HistoryTextsAreCutToTheirColumnsAtACharacterBoundary) {
    std::string strUmlauts;
    for (int i = 0; i < 300; ++i)
        strUmlauts += "ü";
    DBHProblem problem;
    problem.PROBLEM_ID = DB_KEY_NEW;
    problem.PROBLEM_STATUS = PROBLEM_OPEN;
    problem.COMPUTER_NAME = std::string(300, 'c');
    problem.PROBLEM_DESCRIPTION = strUmlauts;
    ASSERT_TRUE(Engine().SetProblem(problem));
    DBHEvent event;
    event.EVENT_ID = DB_KEY_NEW;
    event.PROBLEM_ID = problem.PROBLEM_ID;
    event.SOURCE_MODULE_NAME = std::string(254, 'm') + "ä" + "x";
    event.EVENT_DESCRIPTION = strUmlauts;
    ASSERT_TRUE(Engine().SetEventEntry(event));
    EXPECT_EQ(event.SOURCE_MODULE_NAME,
              std::string(254, 'm') + "ä"); // the caller sees what is stored
    DBHEventList events;
    ASSERT_TRUE(Engine().GetProblemEventEntries(problem.PROBLEM_ID, events));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].SOURCE_MODULE_NAME, std::string(254, 'm') + "ä");
    EXPECT_EQ(DBCharacterCount(events[0].EVENT_DESCRIPTION), 255u);
    DBHProblem read;
    ASSERT_TRUE(Engine().GetProblem(problem.PROBLEM_ID, read));
    EXPECT_EQ(read.COMPUTER_NAME, std::string(255, 'c'));
    EXPECT_EQ(read.PROBLEM_DESCRIPTION, events[0].EVENT_DESCRIPTION);
    EXPECT_TRUE(m_reporter.Errors().empty());
}

TEST_F(DBEngineTest, SmsCentreNumberLimitIsOneHundred) {
    DBNotifySrvConfig services;
    ASSERT_TRUE(Engine().GetNotifyServicesConfig(services));
    services.SMS_GATEWAY_D2 = std::string(101, '1');
    EXPECT_FALSE(Engine().SetNotifyServicesConfig(services));
    services.SMS_GATEWAY_D2 = std::string(100, '1');
    EXPECT_TRUE(Engine().SetNotifyServicesConfig(services));
}
