// A small world for the audition thread: a temporary data directory with
// agent files written by the test, the two lists, a recording frame, a ping
// stand-in and a clock the test sets.
#pragma once

#include "AuditThread.h"
#include "NetAudition.h"
#include "TARNTool.h"
#include "tarn/TarnPlugin.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <vector>

struct RecordedLine {
    int kind;
    std::string computer, audition, text;
};

class RecordingHost : public IAuditionHost {
public:
    void AddEventViewLine(int kind, const std::string& computer, const std::string& audition,
                          const std::string& text) override {
        std::lock_guard guard(m_lock);
        lines.push_back({kind, computer, audition, text});
    }
    void CheckOpenProblems(AuditionEntry& entry) override {
        {
            std::lock_guard guard(m_lock);
            checkedIds.push_back(entry.Definition.AUDITION_ID);
        }
        if (onCheckOpenProblems)
            onCheckOpenProblems(entry);
    }
    bool OnAuditionError(AuditionEntry entry) override {
        if (onAuditionError)
            onAuditionError(entry);
        std::lock_guard guard(m_lock);
        if (refuseStore)
            return false;
        errors.push_back(entry);
        return true;
    }
    // The texts of the lines of one kind, in order.
    std::vector<std::string> Texts(int kind) const {
        std::vector<std::string> texts;
        for (const RecordedLine& line : lines)
            if (line.kind == kind)
                texts.push_back(line.text);
        return texts;
    }

    std::vector<RecordedLine> lines;
    std::vector<int32_t> checkedIds;
    std::vector<AuditionEntry> errors;
    bool refuseStore = false; // as a full disk would
    std::function<void(AuditionEntry&)> onCheckOpenProblems;
    std::function<void(const AuditionEntry&)> onAuditionError;

private:
    std::mutex m_lock;
};

// Answers pings from a queue (a reply when it is empty) and records each request.
class FakePinger : public IPinger {
public:
    int32_t Ping(const std::string& host, uint32_t timeoutMs) override {
        requests.push_back({host, timeoutMs});
        if (answers.empty())
            return PING_ANSWER_REPLY;
        const int32_t answer = answers.front();
        answers.pop_front();
        return answer;
    }
    struct Request {
        std::string host;
        uint32_t timeoutMs;
    };
    std::deque<int32_t> answers;
    std::vector<Request> requests;
};

// A plug-in instance whose check answers what the test says.
class FakePluginInstance : public IPluginInstance {
public:
    void Configure() override {}
    void Deleting() override {}
    int32_t IsConfigured() override { return 1; }
    int32_t Check(PluginCheckResult* result) override {
        ++checks;
        seenInfoId = result->InfoId;
        seenDescription = result->Description;
        result->Description = description;
        result->InfoId = infoId;
        return status;
    }
    void Stop() override { ++stops; }
    void GetActions(PluginActionList*) override {}

    int32_t status = PLUGIN_CHECK_OK;
    std::string description = "disk full";
    std::string infoId = "17";
    int checks = 0, stops = 0;
    std::string seenInfoId = "unset", seenDescription = "unset";
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

struct LogLine {
    std::string date = "20240115100000";
    std::string computer = "alpha";
    int source = 1;
    std::string sourceName;
    std::string module;
    int type = 1;
    int category = 1;
    std::string infoId = "0";
    std::string description = "failed";

    std::string Text() const {
        std::ostringstream out;
        out << date << ';' << computer << ';' << source << ';' << sourceName << ';' << module << ';'
            << type << ';' << category << ';' << infoId << ';' << description;
        return out.str();
    }
};

class AuditThreadFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarn-audit-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = std::string(pattern) + "/";
    }
    void TearDown() override {
        m_stop.Set();
        m_thread.Join();
        std::filesystem::remove_all(m_dir);
    }

    void WriteFile(const std::string& relative, const std::string& text) {
        std::filesystem::path path = m_dir + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string ReadFile(const std::string& relative) const {
        std::ifstream in(m_dir + relative, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    // "TARN.CFG" naming the computer as an agent that watches these modules,
    // and its information file saying whether the agent runs.
    void WriteAgent(const std::string& computer, const std::vector<std::string>& apps,
                    const std::vector<std::string>& services, bool running = true) {
        std::string cfg = "[Server]\r\nServer1=" + computer + "\r\n[" + computer + "]\r\n";
        for (size_t i = 0; i < apps.size(); ++i)
            cfg += "App" + std::to_string(i + 1) + "=" + apps[i] + "\r\n";
        for (size_t i = 0; i < services.size(); ++i)
            cfg += "Service" + std::to_string(i + 1) + "=" + services[i] + ";x;y\r\n";
        WriteFile("TARN.CFG", cfg);
        WriteFile(computer + "/" + computer + ".INI",
                  std::string("[Information]\r\nTARNStartDate=") +
                      (running ? "20240115080000" : "") + "\r\n");
    }
    void WriteLog(const std::string& computer, const std::vector<LogLine>& lines) {
        std::string text;
        for (const LogLine& line : lines)
            text += line.Text() + "\r\n";
        WriteFile(computer + "/" + computer + ".log", text);
    }
    std::vector<std::string> LogLines(const std::string& computer) const {
        std::vector<std::string> lines;
        std::istringstream in(ReadFile(computer + "/" + computer + ".log"));
        std::string line;
        while (std::getline(in, line))
            lines.push_back(line);
        return lines;
    }

    static DBAudition App(int32_t id, const std::string& computer, const std::string& module) {
        DBAudition audition = Base(id, AuditionType::App, computer);
        audition.App.SERVER_PATH = computer;
        audition.App.APP_MODULE = module;
        return audition;
    }
    static DBAudition Service(int32_t id, const std::string& computer, const std::string& module,
                              const std::string& name) {
        DBAudition audition = Base(id, AuditionType::Service, computer);
        audition.Service.SERVER_PATH = computer;
        audition.Service.SERVICE_MODULE = module;
        audition.Service.SERVICE_NAME = name;
        return audition;
    }
    static DBAudition EventLog(int32_t id, const std::string& computer) {
        DBAudition audition = Base(id, AuditionType::NTEvtLog, computer);
        audition.NTEvtLog.SERVER_PATH = computer;
        audition.NTEvtLog.AUDIT_SYSTEMLOG = audition.NTEvtLog.AUDIT_APPLOG = true;
        audition.NTEvtLog.AUDIT_ERROR = audition.NTEvtLog.AUDIT_WARNING = true;
        return audition;
    }
    static DBAudition Net(int32_t id, const std::string& computer, const std::string& address,
                          int32_t interval = 2, int32_t timeout = 5) {
        DBAudition audition = Base(id, AuditionType::Net, "");
        audition.Net.SERVER_PATH = computer;
        audition.Net.IP_ADDRESS = address;
        audition.Net.CHECK_INTERVAL = interval;
        audition.Net.TIMEOUT = timeout;
        return audition;
    }
    static DBAudition Plugin(int32_t id, const std::string& computer) {
        DBAudition audition = Base(id, AuditionType::Plugin, computer);
        audition.Plugin.SERVER_PATH = computer;
        audition.Plugin.PLUGIN_NAME = "DiskPlug";
        audition.Plugin.PLUGIN_TYPE = 9;
        return audition;
    }
    static DBAudition Logfile(int32_t id, const std::string& path, int16_t checkType) {
        DBAudition audition = Base(id, AuditionType::Logfile, "");
        audition.Logfile.LOGFILE = path;
        audition.Logfile.CHECK_TYPE = checkType;
        audition.Logfile.CHECK_INTERVAL = 5;
        return audition;
    }
    static DBAudition Base(int32_t id, AuditionType type, const std::string& agentComputer) {
        DBAudition audition;
        audition.AUDITION_ID = id;
        audition.NAME = "audition " + std::to_string(id);
        audition.AUDITION_TYPE = static_cast<int32_t>(type);
        audition.AgentComputer = agentComputer;
        return audition;
    }

    // Adds the audition to the list and starts it, as the frame does.
    void AddStarted(const DBAudition& audition, IPluginInstance* instance = nullptr) {
        CAuditionListLock lock(m_list);
        m_list.AddAudition(audition);
        AuditionEntry entry = m_list.GetAt(m_list.GetSize() - 1);
        entry.PluginInstance = instance;
        m_thread.StartAudition(entry);
        m_list.UpdateEntry(entry);
    }
    AuditionEntry Entry(int32_t id) {
        CAuditionListLock lock(m_list);
        return m_list.GetAt(m_list.FindIndex(id));
    }
    void SetEntry(const AuditionEntry& entry) {
        CAuditionListLock lock(m_list);
        m_list.UpdateEntry(entry);
    }

    // A clock the test sets, waits between open attempts that cost nothing, and
    // a short period for the tests that run the real thread.
    AuditThreadOptions Options(std::chrono::milliseconds period = std::chrono::milliseconds(1)) {
        AuditThreadOptions options;
        options.Period = period;
        options.Now = [this] { return m_now; };
        options.LogOpenSleep = [this](std::chrono::milliseconds) { ++m_openWaits; };
        return options;
    }

    std::string m_dir;
    std::time_t m_now = LocalTime(12, 0);
    std::atomic<int> m_openWaits{0};
    RecordingHost m_host;
    FakePinger m_pinger;
    CEvent m_stop{true, false};
    CAuditionList m_list;
    CComputerList m_computers;
    CAgentExchange m_agents{m_computers, m_host, [this] { return m_dir; }};
    CAuditThread m_thread{m_host, m_list, m_agents, m_pinger, m_stop, Options()};
};
