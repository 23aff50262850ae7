// A small world for the problem, notification and action tests: fresh
// database files in a temporary directory opened by the real database front,
// an agent computer with its exchange directory, a clock the test sets, a view
// that records what it is shown, and channels that answer what the test says.
#pragma once

#include "AgentActions.h"
#include "CDBSchema.h"
#include "HistoryRecorder.h"
#include "INotificationChannels.h"
#include "NotificationDispatcher.h"
#include "NotifyPlan.h"
#include "ProblemHandler.h"
#include "StringTable.h"
#include "TARNTool.h"
#include "tarn/TarnPlugin.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdlib.h>

struct ViewLine {
    int kind;
    std::string computer, audition, text;
};

class RecordingView : public IConsoleView {
public:
    void AddEventViewLine(int kind, const std::string& computer, const std::string& audition,
                          const std::string& text) override {
        std::lock_guard guard(m_lock);
        lines.push_back({kind, computer, audition, text});
    }
    void OnProblemAdded(const DBHProblem& problem) override {
        std::lock_guard guard(m_lock);
        added.push_back(problem);
    }
    void OnProblemChanged(const DBHProblem& problem) override {
        std::lock_guard guard(m_lock);
        changed.push_back(problem);
    }
    void OnProblemEventAdded(const DBHEvent& event) override {
        std::lock_guard guard(m_lock);
        events.push_back(event);
    }
    std::vector<std::string> Texts(int kind) const {
        std::vector<std::string> texts;
        for (const ViewLine& line : lines)
            if (line.kind == kind)
                texts.push_back(line.text);
        return texts;
    }

    std::vector<ViewLine> lines;
    std::vector<DBHProblem> added, changed;
    std::vector<DBHEvent> events;

private:
    std::mutex m_lock;
};

struct ChannelCall {
    NotificationChannel channel;
    int32_t notificationId;
    int32_t stage;
    int32_t problemId;
};

// Answers from a queue per channel (1 when empty), records every call and,
// like a real channel, writes the notification event of the send.
class FakeChannels : public INotificationChannels {
public:
    explicit FakeChannels(CHistoryRecorder* recorder = nullptr) : m_recorder(recorder) {}

    int32_t SendSmsNotification(const NotificationJob& job, bool test) override {
        return Send(CHANNEL_SMS, job, test);
    }
    int32_t SendMsMailNotification(const NotificationJob& job, bool test) override {
        return Send(CHANNEL_MSMAIL, job, test);
    }
    int32_t SendFaxNotification(const NotificationJob& job, bool test) override {
        return Send(CHANNEL_FAX, job, test);
    }
    int32_t SendPrinterNotification(const NotificationJob& job, bool test) override {
        return Send(CHANNEL_PRINTER, job, test);
    }
    int32_t SendSmtpNotification(const NotificationJob& job, bool test) override {
        return Send(CHANNEL_SMTP, job, test);
    }
    int32_t SendSnmpNotification(const NotificationJob& job, bool test) override {
        return Send(CHANNEL_SNMP, job, test);
    }

    int Count(NotificationChannel channel) const {
        int count = 0;
        for (const ChannelCall& call : calls)
            count += call.channel == channel;
        return count;
    }

    std::map<NotificationChannel, std::deque<int32_t>> answers;
    std::vector<ChannelCall> calls;

private:
    int32_t Send(NotificationChannel channel, const NotificationJob& job, bool test) {
        calls.push_back({channel, job.Notification.NOTIFICATION_ID, job.Stage, job.ProblemID});
        int32_t result = CHANNEL_RESULT_SENT;
        std::deque<int32_t>& queue = answers[channel];
        if (!queue.empty()) {
            result = queue.front();
            queue.pop_front();
        }
        if (m_recorder && !test)
            m_recorder->WriteNotificationEvent(job,
                                               result == 1 ? EVENT_VIEW_INFO : EVENT_VIEW_ERROR,
                                               "sent " + std::to_string(result));
        return result;
    }
    CHistoryRecorder* m_recorder;
};

// A plug-in instance whose checks pass and which offers the given actions.
class OfferingPluginInstance : public IPluginInstance {
public:
    explicit OfferingPluginInstance(PluginActionList actions = {})
        : m_actions(std::move(actions)) {}
    void Configure() override {}
    void Deleting() override {}
    int32_t IsConfigured() override { return 1; }
    int32_t Check(PluginCheckResult*) override { return PLUGIN_CHECK_OK; }
    void Stop() override {}
    void GetActions(PluginActionList* list) override {
        list->insert(list->end(), m_actions.begin(), m_actions.end());
    }

private:
    PluginActionList m_actions;
};

// The local time of one day in January (no clock change nearby).
inline std::time_t LocalTime(int hour, int minute, int second = 0) {
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 15;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

class NotifyFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarn-notify-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = std::string(pattern) + "/";
        PrepareDirectory();
        if (IsSkipped())
            return;
        DBConfiguration configuration;
        configuration.DATA_DIRECTORY = m_dir + "data/";
        std::string error;
        ASSERT_TRUE(CDBSchema::CreateConfigurationFile(
            m_dir + "TARN.MDB", configuration, CDBSchema::DefaultNotifyServicesConfig(), error))
            << error;
        ASSERT_TRUE(CDBSchema::CreateHistoryFile(m_dir + "HISTORY.MDB", error)) << error;
        bool configOpened = false, historyOpened = false;
        m_database.Open(m_dir + "TARN.MDB", m_dir + "HISTORY.MDB", configOpened, historyOpened);
        ASSERT_TRUE(configOpened && historyOpened);
        m_recorder =
            std::make_unique<CHistoryRecorder>(m_database, m_view, [this] { return m_now; });
        m_actions = std::make_unique<CAgentActions>(*m_recorder, m_computers);
        m_handler = std::make_unique<CProblemHandler>(
            ProblemHandlerServices{*m_recorder, *m_actions, m_caches, m_queue, m_auditions, nullptr,
                                   [this](AuditionEntry& entry) {
                                       entry.Running = false;
                                       m_stopped.push_back(entry.Definition.AUDITION_ID);
                                   }});
    }
    void TearDown() override {
        m_database.Close();
        ReleaseDirectory();
        std::filesystem::remove_all(m_dir);
    }
    // For a test that puts the files on a file system of its own.
    virtual void PrepareDirectory() {}
    virtual void ReleaseDirectory() {}

    // A computer known to the console, with its exchange directory.
    std::string AddComputer(const std::string& name) {
        const std::string directory = m_dir + "data/" + name + "/";
        std::filesystem::create_directories(directory);
        const int index = m_computers.FindOrAdd(name);
        AgentComputer record = m_computers.GetAt(index);
        record.DataDirectory = m_dir + "data/";
        record.Directory = directory;
        m_computers.SetAt(index, record);
        return directory;
    }
    std::string ReadFile(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    void WriteFile(const std::string& path, const std::string& text) const {
        std::ofstream(path, std::ios::binary) << text;
    }

    // Stores the audition and returns its entry as the audition list holds it, running.
    AuditionEntry Store(DBAudition audition) {
        audition.AUDITION_ID = AUDITION_ID_NEW;
        EXPECT_TRUE(m_database.SetAudition(audition));
        AuditionEntry entry;
        entry.Definition = audition;
        entry.Running = true;
        BuildNotifyPlan(m_database, entry);
        CAuditionListLock lock(m_auditions);
        m_auditions.AddAudition(audition);
        m_auditions.UpdateEntry(entry);
        return entry;
    }
    static DBAudition Audition(AuditionType type, const std::string& computer = "alpha") {
        DBAudition audition;
        audition.AUDITION_TYPE = static_cast<int32_t>(type);
        audition.NAME = "watch " + std::string(GetAuditionTypeName(type));
        audition.ACTIVE = true;
        audition.NOTIFY_ALWAYS = false;
        audition.MAX_DURATION = 10;
        audition.App = {0, "app.exe", computer};
        audition.Service = {0, computer, "svc.exe", "Spooler", "Druckwarteschlange"};
        audition.NTEvtLog.SERVER_PATH = computer;
        audition.Net.SERVER_PATH = computer;
        audition.Net.IP_ADDRESS = "127.0.0.1";
        audition.Plugin.SERVER_PATH = computer;
        audition.Plugin.PLUGIN_TYPE = 42;
        audition.Logfile.LOGFILE = "/tmp/x.log";
        return audition;
    }
    // The entry with an error signal at the current time.
    AuditionEntry Signalled(AuditionEntry entry, const std::string& description = "stopped",
                            const std::string& module = "svc.exe") {
        entry.Signal = DBHEvent();
        entry.Signal.DATE = FormatTimeStamp(m_now);
        entry.Signal.COMPUTER = "alpha";
        entry.Signal.SOURCE = 1;
        entry.Signal.SOURCE_MODULE_NAME = module;
        entry.Signal.TYPE = EVENT_TYPE_ERROR;
        entry.Signal.CATEGORY = EVENT_CATEGORY_SERVICE;
        entry.Signal.INFO_ID = "0";
        entry.Signal.EVENT_DESCRIPTION = description;
        return entry;
    }

    int32_t StoreNotification(const std::string& name, bool sms, bool smtp = false) {
        DBNotification notification;
        notification.NOTIFICATION_ID = DB_KEY_NEW;
        notification.NAME = name;
        notification.SMS_ACTIVE = sms;
        notification.SMTP_ACTIVE = smtp;
        notification.SMS.RECIPIENT = "0172-1234567";
        notification.SMTP.RECIPIENTS = "ops@example.org";
        EXPECT_TRUE(m_database.SetNotification(notification));
        return notification.NOTIFICATION_ID;
    }
    int32_t StoreProfile(const std::string& name, const DBKeyList& notifications) {
        DBNotifyProfile profile;
        profile.PROFILE_ID = DB_KEY_NEW;
        profile.NAME = name;
        EXPECT_TRUE(m_database.SetNotifyProfile(profile));
        EXPECT_TRUE(m_database.SetNotifyProfileNotifications(profile.PROFILE_ID, notifications));
        return profile.PROFILE_ID;
    }

    std::vector<DBHProblem> Problems(int32_t auditionId, int32_t status = 0) {
        DBHProblemList problems;
        EXPECT_TRUE(m_database.GetAllProblems(auditionId, status, problems));
        std::vector<DBHProblem> result;
        for (const DBHProblem& problem : problems)
            if (problem.AUDITION_ID == auditionId)
                result.push_back(problem);
        return result;
    }
    DBHEventList Events(int32_t problemId) {
        DBHEventList events;
        EXPECT_TRUE(m_database.GetProblemEventEntries(problemId, events));
        return events;
    }
    std::vector<int32_t> QueuedStages() const {
        std::vector<int32_t> stages;
        NotificationJob job;
        for (int index = 0; m_queue.GetAt(index, job); ++index)
            stages.push_back(job.Stage);
        return stages;
    }

    std::string m_dir;
    std::time_t m_now = LocalTime(10, 0);
    CDBEngineTARN m_database;
    RecordingView m_view;
    CComputerList m_computers;
    CAuditionList m_auditions;
    CNotificationCaches m_caches;
    CNotificationList m_queue;
    std::unique_ptr<CHistoryRecorder> m_recorder;
    std::unique_ptr<CAgentActions> m_actions;
    std::unique_ptr<CProblemHandler> m_handler;
    std::vector<int32_t> m_stopped;
};
