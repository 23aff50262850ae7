// tarn-admin demo: a new installation with a few active auditions that show
// the console at work within its first minute: a ping of this computer, a
// log file audition on an alarm file, and a service audition of the demo
// agent computer "demo-agent" that restarts the service and notifies through
// one notify profile by Internet mail to a mail server on loopback.
// scripts/demo_agent.py plays the agent and that mail server.
#include "AdminCommands.h"

#include "CDBEngineTARN.h"

#include <filesystem>
#include <iostream>

namespace {

namespace fs = std::filesystem;

constexpr const char* kDemoComputer = "demo-agent";
// The mail server that scripts/demo_agent.py runs for the demo's notification;
// the sender is the one that "init" writes.
constexpr const char* kDemoMailServer = "127.0.0.1:2525";

DBAudition NewAudition(AuditionType type, const std::string& name, const std::string& description) {
    DBAudition audition;
    audition.AUDITION_ID = AUDITION_ID_NEW;
    audition.AUDITION_TYPE = static_cast<int32_t>(type);
    audition.NAME = name;
    audition.DESCRIPTION = description;
    audition.ACTIVE = true;
    audition.MAX_DURATION = 1;
    return audition;
}

bool StoreNotifyProfile(CDBEngineTARN& database, int32_t& profileId) {
    DBNotification notification;
    notification.NOTIFICATION_ID = DB_KEY_NEW;
    notification.NAME = "Administrator";
    notification.DESCRIPTION = "Internet-Mail an den Administrator";
    notification.SMTP_ACTIVE = true;
    notification.SMTP.RECIPIENTS = "root@localhost";
    notification.SMTP.MAILTEXT = "Demo";
    DBNotifyProfile profile;
    profile.PROFILE_ID = DB_KEY_NEW;
    profile.NAME = "Bereitschaft";
    profile.DESCRIPTION = "Wer bei einem Fehler benachrichtigt wird";
    if (!database.SetNotification(notification) || !database.SetNotifyProfile(profile) ||
        !database.SetNotifyProfileNotifications(profile.PROFILE_ID, {notification.NOTIFICATION_ID}))
        return false;
    profileId = profile.PROFILE_ID;
    return true;
}

bool StoreDemoMailServer(CDBEngineTARN& database) {
    DBNotifySrvConfig services;
    if (!database.GetNotifyServicesConfig(services))
        return false;
    services.SMTP_MAILSERVER = kDemoMailServer;
    return database.SetNotifyServicesConfig(services);
}

bool StoreDemoAuditions(CDBEngineTARN& database, const std::string& directory) {
    int32_t profileId = 0;
    if (!StoreDemoMailServer(database) || !StoreNotifyProfile(database, profileId))
        return false;

    DBAudition ping =
        NewAudition(AuditionType::Net, "Ping 127.0.0.1", "Erreichbarkeit dieses Rechners");
    ping.Net.SERVER_PATH = "localhost";
    ping.Net.IP_ADDRESS = "127.0.0.1";
    ping.Net.CHECK_INTERVAL = 1;

    DBAudition alarm =
        NewAudition(AuditionType::Logfile, "Alarmdatei", "Fehler, sobald die Datei existiert");
    alarm.Logfile.LOGFILE = directory + "demo/alarm.flag";
    alarm.Logfile.CHECK_TYPE = 0;
    alarm.Logfile.CHECK_INTERVAL = 1;

    DBAudition service =
        NewAudition(AuditionType::Service, "Druckdienst", "Dienst des Demo-Agenten");
    service.Service = {0, kDemoComputer, "spoolsv.exe", "Spooler", "Druckwarteschlange"};
    service.ACTION_RESTART_SERVICE = true;
    service.NOTIFY_ALWAYS = true;
    service.NOTIFY_SUCCESS = true;
    service.NOTIFY_FAILURE = true;

    for (DBAudition* audition : {&ping, &alarm, &service})
        if (!database.SetAudition(*audition))
            return false;
    return database.SetAuditNotifyProfiles(service.AUDITION_ID, {profileId});
}

} // namespace

int RunDemo(const AdminArgs& args) {
    if (args.size() != 1) {
        std::cerr << "usage: tarn-admin demo DIR\n";
        return 2;
    }
    const int initialised = RunInit(args);
    if (initialised != 0)
        return initialised;
    std::error_code error;
    std::string directory = fs::absolute(args[0], error).lexically_normal().string();
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    fs::create_directories(directory + "demo", error);

    CDBEngineTARN database;
    bool configOpened = false, historyOpened = false;
    database.Open(directory + "TARN.MDB", directory + "HISTORY.MDB", configOpened, historyOpened);
    const bool stored = configOpened && historyOpened && StoreDemoAuditions(database, directory);
    database.Close();
    if (!stored) {
        std::cerr << "tarn-admin: the demo auditions could not be stored\n";
        return 1;
    }
    std::cout << "demo auditions: Ping 127.0.0.1, Alarmdatei (" << directory
              << "demo/alarm.flag), Druckdienst (agent computer " << kDemoComputer
              << ", notified by mail through " << kDemoMailServer << ")\n"
              << "start the demo agent: scripts/demo_agent.py " << directory << "\n";
    return 0;
}
