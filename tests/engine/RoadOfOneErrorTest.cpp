// One error on its whole road through the headless console: a stand-in agent
// reports a stopped service, the console takes the log line over, opens a
// problem, asks the agent to start the service, queues and dispatches the
// notifications, records the agent's answer and closes the problem resolved.
#include "CDBEngineTARN.h"
#include "ConsoleProcess.h"
#include "IniFile.h"

#include "../WaitFor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr const char* kLogLine = "20240115100000;alpha;1;Spooler;svc.exe;1;2;0;Dienst angehalten";

class RoadOfOneErrorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_sandbox.InitHome());
        m_data = m_sandbox.HomeDir() + "data/";
        m_exchange = m_data + "alpha/";
        fs::create_directories(m_exchange);
        m_sandbox.Environment()["TARN_PASS_PERIOD_MS"] = "1000";
        ASSERT_NO_FATAL_FAILURE(ConfigureAudition());
    }

    // A service audition of computer alpha that restarts the service, notifies
    // always and on success through one profile, and expires at the first pass
    // after its begin (maximum duration 0 minutes).
    void ConfigureAudition() {
        CDBEngineTARN database;
        bool config = false, history = false;
        database.Open(m_sandbox.HomeDir() + "TARN.MDB", m_sandbox.HomeDir() + "HISTORY.MDB", config,
                      history);
        ASSERT_TRUE(config && history);
        DBNotification notification;
        notification.NOTIFICATION_ID = DB_KEY_NEW;
        notification.NAME = "Bereitschaft";
        notification.SMTP_ACTIVE = true;
        notification.SMTP.RECIPIENTS = "ops@example.org";
        ASSERT_TRUE(database.SetNotification(notification));
        DBNotifyProfile profile;
        profile.PROFILE_ID = DB_KEY_NEW;
        profile.NAME = "Team";
        ASSERT_TRUE(database.SetNotifyProfile(profile));
        ASSERT_TRUE(database.SetNotifyProfileNotifications(profile.PROFILE_ID,
                                                           {notification.NOTIFICATION_ID}));
        DBAudition audition;
        audition.AUDITION_ID = AUDITION_ID_NEW;
        audition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::Service);
        audition.NAME = "Druckdienst";
        audition.ACTIVE = true;
        audition.ACTION_RESTART_SERVICE = true;
        audition.NOTIFY_ALWAYS = true;
        audition.NOTIFY_SUCCESS = true;
        audition.MAX_DURATION = 0;
        audition.RESTART_PARAMETERS = "-fast";
        audition.Service = {0, "alpha", "svc.exe", "Spooler", "Druckwarteschlange"};
        ASSERT_TRUE(database.SetAudition(audition));
        ASSERT_TRUE(database.SetAuditNotifyProfiles(audition.AUDITION_ID, {profile.PROFILE_ID}));
        m_auditionId = audition.AUDITION_ID;
        database.Close();
    }
    void WriteAgentFiles() {
        m_sandbox.WriteFile(m_data + "TARN.CFG", "[Server]\r\nServer1=alpha\r\n[alpha]\r\nService1="
                                                 "svc.exe;Spooler;Druckwarteschlange\r\n");
        m_sandbox.WriteFile(m_exchange + "alpha.INI",
                            "[Information]\r\nTARNStartDate=20240115080000\r\n");
        m_sandbox.WriteFile(m_exchange + "alpha.log", std::string(kLogLine) + "\r\n");
    }
    std::vector<DBHProblem> Problems(DBHEventList& events) {
        CDBEngineTARN database;
        bool config = false, history = false;
        database.Open(m_sandbox.HomeDir() + "TARN.MDB", m_sandbox.HomeDir() + "HISTORY.MDB", config,
                      history);
        DBHProblemList problems;
        database.GetAllProblems(0, 0, problems);
        if (!problems.empty())
            database.GetProblemEventEntries(problems[0].PROBLEM_ID, events);
        database.Close();
        return problems;
    }

    CConsoleSandbox m_sandbox;
    std::string m_data, m_exchange;
    int32_t m_auditionId = 0;
};

TEST_F(RoadOfOneErrorTest, ServiceErrorIsHandledFromLogLineToResolvedProblem) {
    WriteAgentFiles();
    m_sandbox.Start({"--headless"});
    ASSERT_TRUE(m_sandbox.WaitForOutput("Es wurden Fehler signalisiert", 30));
    ASSERT_TRUE(
        m_sandbox.WaitForOutput("Problembearbeitung wird gestartet: <Dienst angehalten>", 10));
    // Marked once the signal is stored and handled.
    EXPECT_TRUE(WaitFor(
        [&] {
            return m_sandbox.ReadFile(m_exchange + "alpha.log").substr(0, 14) == "00000000000000";
        },
        10))
        << "the log line is marked processed";

    // The stand-in agent answers the command file.
    const std::string command = m_exchange + "TARN000.TRA";
    ASSERT_TRUE(WaitFor([&] { return fs::exists(command); }, 10));
    EXPECT_EQ(ReadProfileString(command, "Commands", "Command1"), "START_SERVICE;Spooler;-fast");
    m_sandbox.WriteFile(m_exchange + "TARN000.RLT", "[Results]\r\nResult1=0\r\n");

    ASSERT_TRUE(
        m_sandbox.WaitForOutput("Aktion <Service neu starten> wurde erfolgreich durchgeführt", 15));
    ASSERT_TRUE(m_sandbox.WaitForOutput("Problem gelöst: <Dienst angehalten>", 15));
    // Both notifications (stage 1 and stage 3) reach the channel stage.
    ASSERT_TRUE(m_sandbox.WaitForOutput("Das Problem konnte behoben werden. Ergebnis:", 15));
    const ProcessResult result = m_sandbox.Stop(20);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_FALSE(fs::exists(m_exchange + "TARN000.RLT"));

    DBHEventList events;
    const auto problems = Problems(events);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].PROBLEM_STATUS, PROBLEM_RESOLVED);
    EXPECT_EQ(problems[0].ERROR_COUNT, 1);
    EXPECT_EQ(problems[0].AUDITION_ID, m_auditionId);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].EVENT_DESCRIPTION, "Dienst angehalten");
    EXPECT_EQ(events[0].SOURCE_NAME, "Spooler");
    std::vector<std::string> notificationStages, actionTexts;
    for (const DBHEvent& event : events) {
        if (event.CATEGORY == EVENT_CATEGORY_NOTIFICATION)
            notificationStages.push_back(event.INFO_ID);
        if (event.CATEGORY == EVENT_CATEGORY_ACTION)
            actionTexts.push_back(event.EVENT_DESCRIPTION);
    }
    EXPECT_EQ(notificationStages, (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(actionTexts, (std::vector<std::string>{
                               "Aktion <Service neu starten> wurde veranlaßt",
                               "Aktion <Service neu starten> wurde erfolgreich durchgeführt"}));
}

} // namespace
