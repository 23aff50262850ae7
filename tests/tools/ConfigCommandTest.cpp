// tarn-admin's configuration commands against installations made by
// "tarn-admin init", run as the built program.
#include "../core/TempDir.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>
#include <sys/wait.h>

namespace {

struct AdminRun {
    int status = -1;
    std::string out;
    std::string err;
};

class ConfigCommand : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Admin("init " + m_dir.Path("home")).status, 0);
        m_home = m_dir.Path("home");
    }

    // tarn-admin with the arguments and --home of the test's installation.
    AdminRun Admin(const std::string& args) {
        const std::string errFile = m_dir.Path("stderr.txt");
        const std::string command = std::string(TARN_BIN_DIR) + "/tarn-admin " + args +
                                    (m_home.empty() ? "" : " --home " + m_home) + " 2>" + errFile;
        AdminRun run;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe)
            return run;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            run.out.append(buffer, n);
        const int status = ::pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.err = TempDir::Read(errFile);
        return run;
    }

    nlohmann::json Json(const std::string& args) {
        const AdminRun run = Admin(args + " --json");
        EXPECT_EQ(run.status, 0) << run.err;
        return nlohmann::json::parse(run.out);
    }

    TempDir m_dir;
    std::string m_home;
};

TEST_F(ConfigCommand, AuditionMainPath) {
    const AdminRun added = Admin("audition add Net IP_ADDRESS=127.0.0.1 TIMEOUT=3");
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "1\n");
    ASSERT_EQ(Admin("audition set 1 CHECK_INTERVAL=7 'DESCRIPTION=gate way'").status, 0);
    ASSERT_EQ(Admin("audition add App SERVER_PATH=pc1 APP_MODULE=a.exe ACTION_RESTART_APP=1").out,
              "2\n");
    ASSERT_EQ(Admin("audition activate 1 2").status, 0);
    ASSERT_EQ(Admin("audition deactivate 2").status, 0);

    const nlohmann::json net = Json("audition show 1");
    EXPECT_EQ(net["NAME"], "Netzwerk");
    EXPECT_EQ(net["AUDITION_TYPE"], "Net");
    EXPECT_EQ(net["IP_ADDRESS"], "127.0.0.1");
    EXPECT_EQ(net["TIMEOUT"], 3);
    EXPECT_EQ(net["CHECK_INTERVAL"], 7);
    EXPECT_EQ(net["DESCRIPTION"], "gate way");
    EXPECT_EQ(net["ACTIVE"], true);
    const nlohmann::json list = Json("audition list");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1]["ACTIVE"], false);
    EXPECT_EQ(list[1]["ACTION_RESTART_APP"], true);

    const AdminRun text = Admin("audition list");
    EXPECT_NE(text.out.find("1   Net   1       Netzwerk     gate way"), std::string::npos)
        << text.out;
    ASSERT_EQ(Admin("audition remove 1").status, 0);
    EXPECT_EQ(Json("audition list").size(), 1u);
}

TEST_F(ConfigCommand, EventLogAuditionIsSavedAsTheSheetSavesIt) {
    ASSERT_EQ(Admin("audition add NTEvtLog SERVER_PATH=pc AUDIT_APPLOG=1 AUDIT_SYSTEMLOG=1 "
                    "'FILTER_SOURCE= Disk; Tcpip' ACTION_RESTART_SYSTEM=1")
                  .status,
              0);
    const nlohmann::json log = Json("audition show 1");
    EXPECT_EQ(log["AUDIT_APPLOG"], true);
    EXPECT_EQ(log["AUDIT_SYSTEMLOG"], false);
    EXPECT_EQ(log["FILTER_SOURCE"], "Disk;Tcpip");
    EXPECT_EQ(log["ACTION_RESTART_SYSTEM"], true);
}

struct RefusedCase {
    std::string args;
    int status;
    const char* message;
};

TEST_F(ConfigCommand, RefusedAuditionChangesWriteNothing) {
    ASSERT_EQ(Admin("audition add Logfile LOGFILE=/var/log/x CHECK_INTERVAL=5").status, 0);
    const std::string before = Admin("audition show 1 --json").out;
    const std::string name256(256, 'n');
    const RefusedCase cases[] = {
        {"audition add Logfile CHECK_INTERVAL=1441", 1,
         "CHECK_INTERVAL: Geben Sie eine ganze Zahl zwischen 1 und 1440 ein."},
        {"audition set 1 CHECK_INTERVAL=0", 1,
         "CHECK_INTERVAL: Geben Sie eine ganze Zahl zwischen 1 und 1440 ein."},
        {"audition add Net TIMEOUT=0", 1,
         "TIMEOUT: Geben Sie eine ganze Zahl zwischen 1 und 30 ein."},
        {"audition set 1 TIMEOUT=5", 2, "Unbekanntes Feld: TIMEOUT"},
        {"audition set 1 CHECK_INTERVAL=five", 1, "CHECK_INTERVAL: Geben Sie eine ganze Zahl ein."},
        {"audition set 1 ACTION_RESTART_SYSTEM=1", 1,
         "ACTION_RESTART_SYSTEM: Diese Aktion ist für die Art der Überwachung nicht möglich."},
        {"audition set 1 ACTIVE=2", 1, "ACTIVE: Geben Sie 0 oder 1 ein."},
        {"audition add Webpage", 2, "Unbekannte Art der Überwachung: Webpage"},
        {"audition set 7 NAME=x", 1, "no audition 7"},
        {"audition set 1 PROFILES=4", 1, "no notify profile 4"},
        {"audition add Plugin PLUGIN_TYPE=77", 1,
         "Das zugehörige Plug-In ist nicht mehr installiert."},
        {"audition frobnicate", 2, "usage:"},
    };
    for (const RefusedCase& c : cases) {
        const AdminRun run = Admin(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.args;
    }
    const AdminRun longName = Admin("audition set 1 NAME=" + name256);
    EXPECT_EQ(longName.status, 1);
    EXPECT_NE(longName.err.find("NAME: Geben Sie nicht mehr als 255 Zeichen ein."),
              std::string::npos);
    EXPECT_EQ(Admin("audition show 1 --json").out, before);
    EXPECT_EQ(Json("audition list").size(), 1u);
}

} // namespace

namespace {

TEST_F(ConfigCommand, NotificationsProfilesAndTheirOrder) {
    ASSERT_EQ(Admin("notification add NAME=ops SMTP_ACTIVE=1 SMTP.RECIPIENTS=ops@example.org").out,
              "1\n");
    ASSERT_EQ(Admin("notification add NAME=pager SMS_ACTIVE=1 SMS.RECIPIENT=0171").out, "2\n");
    ASSERT_EQ(Admin("notification set 2 SMS.ACTIVE_BEGIN=8 SMS.ACTIVE_END=18").status, 0);
    ASSERT_EQ(Admin("profile add NAME=night 'DESCRIPTION=after hours'").out, "1\n");
    ASSERT_EQ(Admin("profile notifications 1 2,1").status, 0);
    ASSERT_EQ(Admin("audition add Net IP_ADDRESS=127.0.0.1 PROFILES=1").status, 0);

    const nlohmann::json pager = Json("notification show 2");
    EXPECT_EQ(pager["SMS.ACTIVE_BEGIN"], 8);
    EXPECT_EQ(pager["SNMP.ENTERPRISE"], "1.3.6.1.4.1.0");
    EXPECT_EQ(pager["SMTP.ACTIVE_END"], 24);
    EXPECT_EQ(Json("profile show 1")["NOTIFICATIONS"], nlohmann::json::parse("[2,1]"));
    EXPECT_EQ(Json("audition show 1")["PROFILES"], nlohmann::json::parse("[1]"));
    EXPECT_EQ(Json("notification list").size(), 2u);

    ASSERT_EQ(Admin("notification remove 2").status, 0); // from every profile too
    EXPECT_EQ(Json("profile show 1")["NOTIFICATIONS"], nlohmann::json::parse("[1]"));
    ASSERT_EQ(Admin("profile remove 1").status, 0); // from every audition too
    EXPECT_EQ(Json("audition show 1")["PROFILES"], nlohmann::json::parse("[]"));
    EXPECT_EQ(Json("profile list").size(), 0u);
}

TEST_F(ConfigCommand, ServicesAndSettings) {
    ASSERT_EQ(
        Admin("services set FAX_MODEM_INIT_STRING=at\\&f SMTP_MAILSERVER=mail.example.org").status,
        0);
    const nlohmann::json services = Json("services show");
    EXPECT_EQ(services["FAX_MODEM_INIT_STRING"], "&f");
    EXPECT_EQ(services["SMTP_MAILSERVER"], "mail.example.org");
    ASSERT_EQ(Admin("services set FAX_MODEM_INIT_STRING=A").status, 0);
    EXPECT_EQ(Json("services show")["FAX_MODEM_INIT_STRING"], "A");

    const std::string data = m_dir.Path("shared");
    std::filesystem::create_directories(data);
    ASSERT_EQ(Admin("settings set data-directory=" + data + " protocol-file=" + m_dir.Path("p.log"))
                  .status,
              0);
    const nlohmann::json settings = Json("settings show");
    EXPECT_EQ(settings["DATA_DIRECTORY"], data + "/");
    EXPECT_EQ(settings["PROTOCOLFILE"], m_dir.Path("p.log"));
}

TEST_F(ConfigCommand, RefusedNotificationAndServiceChangesWriteNothing) {
    ASSERT_EQ(Admin("notification add NAME=ops").status, 0);
    ASSERT_EQ(Admin("profile add NAME=p").status, 0);
    const std::string before =
        Admin("notification show 1 --json").out + Admin("profile show 1 --json").out +
        Admin("services show --json").out + Admin("settings show --json").out;
    const RefusedCase cases[] = {
        {"notification add", 1, "NAME: Sie müssen der Benachrichtigung erst einen Namen geben"},
        {"notification set 1 SMTP.ACTIVE_END=25", 1,
         "SMTP.ACTIVE_END: Geben Sie eine ganze Zahl zwischen 0 und 24 ein."},
        {"notification set 1 SNMP.SPECIFIC_ID=-1", 1,
         "Geben Sie eine ganze Zahl zwischen 0 und 2147483647 ein."},
        {"notification set 1 RECIPIENT=x", 2, "Unbekanntes Feld: RECIPIENT"},
        {"notification show 9", 1, "no notification 9"},
        {"profile set 1 NAME=", 1,
         "NAME: Sie müssen dem Benachrichtigungsprofil erst einen Namen geben"},
        {"profile notifications 1 1,5", 1, "no notification 5"},
        {"profile notifications 1 1,x", 2, "not a number: x"},
        {"services set SMS_RETRIES=4", 1,
         "SMS_RETRIES: Geben Sie eine ganze Zahl zwischen 1 und 3 ein."},
        {"services set SMS_DIAL_PREFIX=" + std::string(51, '0'), 1,
         "Geben Sie nicht mehr als 50 Zeichen ein."},
        {"settings set data-directory=/no/such/dir", 1,
         "DATA_DIRECTORY: Das Verzeichnis existiert nicht. Bitte wählen Sie ein gültiges "
         "Verzeichnis."},
        {"settings set DATA_DIRECTORY=", 1, "Das Verzeichnis existiert nicht."},
        {"problems --since yesterday", 2, "usage:"},
        {"events 3", 1, "no problem 3"},
        {"problem remove x", 2, "not a number: x"},
    };
    for (const RefusedCase& c : cases) {
        const AdminRun run = Admin(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
    }
    EXPECT_EQ(Admin("notification show 1 --json").out + Admin("profile show 1 --json").out +
                  Admin("services show --json").out + Admin("settings show --json").out,
              before);
}

TEST_F(ConfigCommand, ProblemsOfAnEmptyHistory) {
    EXPECT_EQ(Json("problems --open --since 2026 --audition 1").size(), 0u);
    EXPECT_EQ(Admin("problems").out, "ID  STATUS  BEGIN  END  AUDITION  COMPUTER  DESCRIPTION\n");
}

} // namespace

namespace {

// A configuration with every kind of record and both relations.
void BuildConfiguration(const std::function<AdminRun(const std::string&)>& admin) {
    for (const char* args :
         {"notification add NAME=ops SMTP_ACTIVE=1 SMTP.RECIPIENTS=ops@example.org",
          "notification add NAME=gone", "notification remove 2",
          "notification add NAME=pager SMS_ACTIVE=1", "profile add NAME=night",
          "profile notifications 1 3,1", "services set SMTP_MAILSERVER=mail.example.org",
          "audition add Net IP_ADDRESS=127.0.0.1 PROFILES=1",
          "audition add Logfile LOGFILE=/var/log/x CHECK_INTERVAL=9", "audition activate 2"})
        ASSERT_EQ(admin(args).status, 0) << args;
}

TEST_F(ConfigCommand, ExportImportExportGivesTheSameBytes) {
    BuildConfiguration([this](const std::string& args) { return Admin(args); });
    const std::string first = m_dir.Path("first.json");
    ASSERT_EQ(Admin("export " + first).status, 0);
    const std::string source = m_home;
    m_home.clear();
    ASSERT_EQ(Admin("init " + m_dir.Path("other")).status, 0);
    m_home = m_dir.Path("other");
    const AdminRun imported = Admin("import " + first + " --replace");
    ASSERT_EQ(imported.status, 0) << imported.err;
    const std::string second = m_dir.Path("second.json");
    ASSERT_EQ(Admin("export " + second).status, 0);
    EXPECT_EQ(TempDir::Read(second), TempDir::Read(first));
    const nlohmann::json document = nlohmann::json::parse(TempDir::Read(first));
    EXPECT_EQ(document["profiles"][0]["NOTIFICATIONS"], nlohmann::json::parse("[2,1]"));
    EXPECT_EQ(document["auditions"][0]["PROFILES"], nlohmann::json::parse("[1]"));
    EXPECT_EQ(Json("profile show 1")["NOTIFICATIONS"], nlohmann::json::parse("[2,1]"));

    ASSERT_EQ(Admin("import " + first + " --merge").status, 0);
    EXPECT_EQ(Json("audition list").size(), 4u);
    m_home = source;
}

TEST_F(ConfigCommand, RefusedDocumentsChangeNothing) {
    BuildConfiguration([this](const std::string& args) { return Admin(args); });
    const std::string good = Admin("export -").out;
    const std::string path = m_dir.Path("doc.json");
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {replaced("\"CHECK_INTERVAL\": 9", "\"CHECK_INTERVAL\": 1441"),
         "auditions[1].CHECK_INTERVAL: Geben Sie eine ganze Zahl zwischen 1 und 1440 ein."},
        {replaced("\"TIMEOUT\": 5", "\"TIMEOUT\": \"5\""),
         "auditions[0].TIMEOUT: Geben Sie eine ganze Zahl ein."},
        {replaced("\"TIMEOUT\": 5", "\"TIMOUT\": 5"),
         "auditions[0].TIMOUT: Unbekanntes Feld: TIMOUT"},
        {replaced("\"AUDITION_TYPE\": \"Net\"", "\"AUDITION_TYPE\": \"Web\""),
         "auditions[0].AUDITION_TYPE: Unbekannte Art der Überwachung: Web"},
        {replaced("\"PROFILES\": [\n        1", "\"PROFILES\": [\n        7"),
         "auditions[0].PROFILES[0]: Die Nummer 7 kommt nicht vor."},
        {replaced("\"NAME\": \"night\"", "\"NAME\": \"\""),
         "profiles[0].NAME: Sie müssen dem Benachrichtigungsprofil erst einen Namen geben"},
        {good.substr(0, good.size() / 2), "document: Das Dokument ist kein gültiges JSON"},
        {"[1, 2]", "document: Hier wird ein Objekt erwartet."},
        {"{}", "settings: Dieser Eintrag fehlt."},
    };
    for (const auto& c : cases) {
        TempDir::Write(path, c.text);
        for (const char* mode : {" --replace", " --merge"}) {
            const AdminRun run = Admin("import " + path + mode);
            EXPECT_EQ(run.status, 1) << c.message;
            EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        }
    }
    EXPECT_EQ(Admin("export -").out, good);
    EXPECT_EQ(Admin("import").status, 2);
    EXPECT_EQ(Admin("import a b").status, 2);
    EXPECT_EQ(Admin("import " + path + " --replace --merge").status, 2);
}

} // namespace

namespace {

// Another process holds the configuration file's write lock longer than the
// busy timeout: the change is refused with a message and nothing is written.
TEST_F(ConfigCommand, BusyDatabaseRefusesTheChange) {
    ASSERT_EQ(Admin("audition add Net IP_ADDRESS=127.0.0.1").status, 0);
    ASSERT_EQ(Admin("export " + m_dir.Path("doc.json")).status, 0);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((m_home + "/TARN.MDB").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const AdminRun busy = Admin("audition set 1 TIMEOUT=9");
    const AdminRun import = Admin("import " + m_dir.Path("doc.json"));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(busy.status, 1);
    EXPECT_FALSE(busy.err.empty());
    EXPECT_EQ(import.status, 1);
    EXPECT_FALSE(import.err.empty());
    EXPECT_EQ(Json("audition show 1")["TIMEOUT"], 5);
    EXPECT_EQ(Json("audition list").size(), 1u);
}

} // namespace
