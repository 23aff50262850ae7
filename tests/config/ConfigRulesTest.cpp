// The configuration rules shared by the sheets, tarn-admin and the import.
#include "CAuditionRules.h"
#include "CNotificationRules.h"
#include "CServiceRules.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

struct LimitCase {
    AuditionType type;
    const char* column;
    FieldValue value;
    const char* message; // empty: accepted
};

TEST(AuditionRules, FieldLimitsGiveTheSheetsMessages) {
    const std::string name256(256, 'n');
    const LimitCase cases[] = {
        {AuditionType::Logfile, "CHECK_INTERVAL", int64_t{1441},
         "Geben Sie eine ganze Zahl zwischen 1 und 1440 ein."},
        {AuditionType::Logfile, "CHECK_INTERVAL", int64_t{1440}, ""},
        {AuditionType::Net, "CHECK_INTERVAL", int64_t{0},
         "Geben Sie eine ganze Zahl zwischen 1 und 1440 ein."},
        {AuditionType::Net, "TIMEOUT", int64_t{0},
         "Geben Sie eine ganze Zahl zwischen 1 und 30 ein."},
        {AuditionType::Net, "TIMEOUT", int64_t{30}, ""},
        {AuditionType::App, "ACTIVE_END", int64_t{25},
         "Geben Sie eine ganze Zahl zwischen 0 und 24 ein."},
        {AuditionType::App, "MAX_DURATION", int64_t{0},
         "Geben Sie eine ganze Zahl zwischen 1 und 1440 ein."},
        {AuditionType::Service, "NAME", name256, "Geben Sie nicht mehr als 255 Zeichen ein."},
        {AuditionType::Service, "NAME", std::string(255, 'n'), ""},
        {AuditionType::NTEvtLog, "FILTER_TYPE", int64_t{3},
         "Geben Sie eine ganze Zahl zwischen 0 und 2 ein."},
        {AuditionType::NTEvtLog, "AUDIT_ERROR", int64_t{2}, "Geben Sie 0 oder 1 ein."},
        {AuditionType::Plugin, "SERVER_PATH", int64_t{1}, "Geben Sie einen Text ein."},
        {AuditionType::Net, "TIMEOUT", std::string("5"), "Geben Sie eine ganze Zahl ein."},
    };
    for (const LimitCase& c : cases) {
        const auto* field = FindField(CAuditionRules::Fields(c.type), c.column);
        ASSERT_NE(field, nullptr) << c.column;
        EXPECT_EQ(CheckFieldValue(field->spec, c.value), c.message) << c.column;
    }
}

TEST(AuditionRules, UmlautsCountAsOneCharacter) {
    std::string name;
    for (int i = 0; i < 255; ++i)
        name += "\xC3\xA4"; // ä
    DBAudition audition = CAuditionRules::NewAudition(AuditionType::App);
    audition.NAME = name;
    EXPECT_TRUE(CAuditionRules::Check(audition).empty());
    audition.NAME += "a";
    ASSERT_EQ(CAuditionRules::Check(audition).size(), 1u);
    EXPECT_EQ(CAuditionRules::Check(audition)[0].field, "NAME");
}

TEST(AuditionRules, NewAuditionIsNamedByItsType) {
    const DBAudition net = CAuditionRules::NewAudition(AuditionType::Net);
    EXPECT_EQ(net.NAME, "Netzwerk");
    EXPECT_EQ(net.AUDITION_ID, AUDITION_ID_NEW);
    EXPECT_FALSE(net.ACTIVE);
    EXPECT_TRUE(net.NOTIFY_ALWAYS);
    EXPECT_EQ(net.MAX_DURATION, 15);
    EXPECT_EQ(CAuditionRules::NewAudition(AuditionType::App).NAME, "Applikation");
}

TEST(AuditionRules, TypeWords) {
    EXPECT_EQ(CAuditionRules::ParseType("ntevtlog"), AuditionType::NTEvtLog);
    EXPECT_EQ(CAuditionRules::ParseType("6"), AuditionType::Plugin);
    EXPECT_FALSE(CAuditionRules::ParseType("7"));
    EXPECT_FALSE(CAuditionRules::ParseType("Netz"));
    EXPECT_EQ(CAuditionRules::TypeWord(AuditionType::Logfile), "Logfile");
}

struct RestartCase {
    AuditionType type;
    bool system;
    RestartControlState expected;
};

TEST(AuditionRules, RestartControlsFollowIsActionApplicable) {
    const RestartCase cases[] = {
        {AuditionType::Logfile, false, {false, false, false, false}},
        {AuditionType::NTEvtLog, false, {false, false, true, false}},
        {AuditionType::App, false, {true, false, true, true}},
        {AuditionType::App, true, {false, false, true, false}},
        {AuditionType::Service, false, {false, true, true, true}},
        {AuditionType::Service, true, {false, false, true, true}},
        {AuditionType::Plugin, false, {false, false, false, false}},
    };
    for (const RestartCase& c : cases) {
        const RestartControlState state = CAuditionRules::RestartControls(c.type, c.system);
        EXPECT_EQ(state.restartApp, c.expected.restartApp) << static_cast<int>(c.type);
        EXPECT_EQ(state.restartService, c.expected.restartService) << static_cast<int>(c.type);
        EXPECT_EQ(state.restartSystem, c.expected.restartSystem) << static_cast<int>(c.type);
        EXPECT_EQ(state.parameters, c.expected.parameters) << static_cast<int>(c.type);
    }
}

TEST(AuditionRules, ActionsTheTypeDoesNotAllowAreRefused) {
    DBAudition logfile = CAuditionRules::NewAudition(AuditionType::Logfile);
    logfile.Logfile.CHECK_INTERVAL = 5;
    logfile.ACTION_RESTART_SYSTEM = true;
    const ConfigErrors errors = CAuditionRules::Check(logfile);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].field, "ACTION_RESTART_SYSTEM");
    EXPECT_EQ(errors[0].message, "Diese Aktion ist für die Art der Überwachung nicht möglich.");
}

TEST(AuditionRules, SavingDerivesTheEventLogFlagFiltersAndRestarts) {
    DBAudition log = CAuditionRules::NewAudition(AuditionType::NTEvtLog);
    log.NTEvtLog.AUDIT_APPLOG = true;
    log.NTEvtLog.AUDIT_SYSTEMLOG = true;
    log.NTEvtLog.FILTER_SOURCE = "  Disk; \tNetlogon;;x ";
    log.NTEvtLog.FILTER_ID = " 7; 9";
    log.ACTION_RESTART_SYSTEM = true;
    log.RESTART_PARAMETERS = "-x";
    CAuditionRules::PrepareForSaving(log);
    EXPECT_TRUE(log.NTEvtLog.AUDIT_APPLOG);
    EXPECT_FALSE(log.NTEvtLog.AUDIT_SYSTEMLOG);
    EXPECT_EQ(log.NTEvtLog.FILTER_SOURCE, "Disk;Netlogon;;x ");
    EXPECT_EQ(log.NTEvtLog.FILTER_ID, "7;9");
    EXPECT_EQ(log.RESTART_PARAMETERS, "");

    DBAudition neither = CAuditionRules::NewAudition(AuditionType::NTEvtLog);
    CAuditionRules::PrepareForSaving(neither);
    EXPECT_TRUE(neither.NTEvtLog.AUDIT_SYSTEMLOG);

    DBAudition service = CAuditionRules::NewAudition(AuditionType::Service);
    service.ACTION_RESTART_SERVICE = true;
    service.ACTION_RESTART_SYSTEM = true;
    CAuditionRules::PrepareForSaving(service);
    EXPECT_FALSE(service.ACTION_RESTART_SERVICE);
}

TEST(AuditionRules, ParsingCommandLineValues) {
    const auto* timeout = FindField(CAuditionRules::Fields(AuditionType::Net), "TIMEOUT");
    FieldValue value;
    EXPECT_EQ(ParseFieldValue(timeout->spec, "+12", value), "");
    EXPECT_EQ(std::get<int64_t>(value), 12);
    EXPECT_EQ(ParseFieldValue(timeout->spec, "12s", value), "Geben Sie eine ganze Zahl ein.");
    EXPECT_EQ(ParseFieldValue(timeout->spec, "", value), "Geben Sie eine ganze Zahl ein.");
}

TEST(NotificationRules, NewNotificationAndRequiredNames) {
    DBNotification notification = CNotificationRules::NewNotification();
    EXPECT_EQ(notification.NOTIFICATION_ID, DB_KEY_NEW);
    EXPECT_EQ(notification.SNMP.ENTERPRISE, "1.3.6.1.4.1.0");
    EXPECT_EQ(notification.SNMP.SPECIFIC_ID_UNRESOLVED, 3);
    EXPECT_EQ(notification.SMTP.ACTIVE_END, 24);
    ConfigErrors errors = CNotificationRules::Check(notification);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].message, "Sie müssen der Benachrichtigung erst einen Namen geben");
    notification.NAME = "n";
    notification.Fax.ACTIVE_END = 25;
    errors = CNotificationRules::Check(notification);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].field, "FAX.ACTIVE_END");
    EXPECT_EQ(CNotificationRules::CheckProfile(DBNotifyProfile{})[0].message,
              "Sie müssen dem Benachrichtigungsprofil erst einen Namen geben");
}

TEST(ServiceRules, ModemPrefixAndLimits) {
    EXPECT_EQ(CServiceRules::StripModemPrefix("at&f"), "&f");
    EXPECT_EQ(CServiceRules::StripModemPrefix("AT"), "");
    EXPECT_EQ(CServiceRules::StripModemPrefix("A"), "A");
    EXPECT_EQ(CServiceRules::StripModemPrefix("&fAT"), "&fAT");
    DBNotifySrvConfig services;
    services.SMS_RETRIES = 4;
    services.FAX_RETRIES = 1;
    services.FAX_COM_PORT = 1;
    const ConfigErrors errors = CServiceRules::Check(services);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].message, "Geben Sie eine ganze Zahl zwischen 1 und 3 ein.");
}

TEST(ServiceRules, DataDirectory) {
    const std::string dir = testing::TempDir();
    EXPECT_EQ(CServiceRules::WithTrailingSeparator("/var/tarn"), "/var/tarn/");
    EXPECT_EQ(CServiceRules::WithTrailingSeparator("/var/tarn/"), "/var/tarn/");
    EXPECT_EQ(CServiceRules::WithTrailingSeparator(""), "");
    EXPECT_EQ(CServiceRules::CheckDataDirectory(dir), "");
    const std::string file = dir + "/tarn-config-rules-file";
    std::ofstream(file) << "x";
    EXPECT_EQ(CServiceRules::CheckDataDirectory(file), ""); // an existing file passes
    std::filesystem::remove(file);
    const char* missing =
        "Das Verzeichnis existiert nicht. Bitte wählen Sie ein gültiges Verzeichnis.";
    EXPECT_EQ(CServiceRules::CheckDataDirectory(""), missing);
    EXPECT_EQ(CServiceRules::CheckDataDirectory(dir + "/no-such-dir/"), missing);
}

} // namespace
