// The engine in this process against real database files in a temporary
// folder, with a view that records its lines and a pinger that always gets a reply.
#pragma once

#include "CDBSchema.h"
#include "CHeadlessPluginUI.h"
#include "ConsoleEngine.h"
#include "RegistryFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <stdlib.h>

class QuietView : public IConsoleView {
public:
    void AddEventViewLine(int, const std::string&, const std::string& audition,
                          const std::string& text) override {
        std::lock_guard guard(m_lock);
        lines.push_back(audition + ": " + text);
    }
    std::vector<std::string> lines;

private:
    std::mutex m_lock;
};

class NoReplyPinger : public IPinger {
public:
    int32_t Ping(const std::string&, uint32_t) override { return 0; }
};

class ConsoleEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarn-engine-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = std::string(pattern) + "/";
        std::filesystem::create_directories(m_dir + "data");
        DBConfiguration configuration;
        configuration.DATA_DIRECTORY = m_dir + "data/";
        std::string error;
        ASSERT_TRUE(CDBSchema::CreateConfigurationFile(
            m_dir + "TARN.MDB", configuration, CDBSchema::DefaultNotifyServicesConfig(), error));
        ASSERT_TRUE(CDBSchema::CreateHistoryFile(m_dir + "HISTORY.MDB", error));
        bool config = false, history = false;
        m_database.Open(m_dir + "TARN.MDB", m_dir + "HISTORY.MDB", config, history);
        ASSERT_TRUE(config && history);
        m_settings.ProgramDirectory = m_dir + "bin/";
        m_settings.InstallationDirectory = m_dir;
        m_settings.RegistryFile = m_dir + "registry.ini";
        m_settings.SetDataDirectory(m_dir + "data/");
        ASSERT_TRUE(CRegistryFile(m_settings.RegistryFile).CreateKey(kTarnRegistryKey));
        std::ofstream(m_dir + "watched.log") << "";
    }
    void TearDown() override {
        m_database.Close();
        std::filesystem::remove_all(m_dir);
    }

    // By default no pass runs during a test.
    std::unique_ptr<CConsoleEngine>
    NewEngine(std::chrono::milliseconds auditPeriod = std::chrono::hours(1)) {
        ConsoleEngineOptions options;
        options.AuditPeriod = auditPeriod;
        options.NotificationPeriod = std::chrono::hours(1);
        options.Pinger = &m_pinger;
        return std::make_unique<CConsoleEngine>(m_database, m_settings, nullptr, m_view, m_pluginUI,
                                                options);
    }
    // A new audition of the type; settings(audition) fills in the type's own fields.
    int32_t StoreAudition(AuditionType type, const std::string& name, bool active,
                          const std::function<void(DBAudition&)>& settings) {
        DBAudition audition;
        audition.AUDITION_ID = AUDITION_ID_NEW;
        audition.AUDITION_TYPE = static_cast<int32_t>(type);
        audition.NAME = name;
        audition.ACTIVE = active;
        settings(audition);
        EXPECT_TRUE(m_database.SetAudition(audition));
        return audition.AUDITION_ID;
    }
    int32_t StoreLogfileAudition(const std::string& name, bool active) {
        return StoreAudition(AuditionType::Logfile, name, active, [this](DBAudition& audition) {
            audition.Logfile.LOGFILE = m_dir + "watched.log";
            audition.Logfile.CHECK_INTERVAL = 5;
        });
    }
    // Entries of the list and how many of them run.
    std::pair<int, int> ListState(CConsoleEngine& engine) {
        CAuditionList& list = engine.GetAuditionList();
        CAuditionListLock lock(list);
        int running = 0;
        for (int index = 0; index < list.GetSize(); ++index)
            running += list.GetAt(index).Running;
        return {list.GetSize(), running};
    }
    int ActiveInDatabase() {
        DBAuditionList auditions;
        EXPECT_TRUE(m_database.GetAllAuditions(auditions));
        int active = 0;
        for (const DBAudition& audition : auditions)
            active += audition.ACTIVE;
        return active;
    }
    std::string StoredReactivation() {
        return CRegistryFile(m_settings.RegistryFile)
            .ReadString(kTarnRegistryKey, "ReactivateSurv");
    }
    // One start of the console as the application does it.
    std::unique_ptr<CConsoleEngine>
    Start(std::chrono::milliseconds auditPeriod = std::chrono::hours(1)) {
        auto engine = NewEngine(auditPeriod);
        engine->InitializeFrame();
        if (m_settings.GetReactivate())
            engine->SynchronizeAuditionList();
        return engine;
    }

    std::string m_dir;
    CDBEngineTARN m_database;
    CGlobalSettings m_settings;
    QuietView m_view;
    NoReplyPinger m_pinger;
    CHeadlessPluginUI m_pluginUI{false};
};
