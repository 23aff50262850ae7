// What the audition sheet tests share: a fresh configuration database, the
// test plug-in "good" loaded into a plug-in list with a host object, the
// agents' "TARN.CFG" in a data folder, the sheets' context over all of it,
// and a helper that works on the next modal dialog of a type.
#pragma once

#include "AuditionSheetContext.h"
#include "CDBEngineTARN.h"
#include "CHeadlessPluginUI.h"
#include "CPluginHost.h"
#include "CPluginList.h"
#include "DBTestSupport.h"

#include <QApplication>
#include <QTimer>

#include <fstream>
#include <functional>
#include <memory>

constexpr int32_t kTestPluginType = 7001; // the test plug-in "good"

inline std::string TestPluginFile() {
    return std::string(TARN_TEST_PLUGIN_DIR) + "/good.spi";
}

class CAuditionSheetSupport {
public:
    CAuditionSheetSupport() : m_trace(m_dir) {
        const DBFiles files = CreateFreshFiles(m_dir);
        m_strConfig = files.Config;
        bool config = false, history = false;
        m_database.Open(files.Config, files.History, config, history);
        m_bOpen = config && history;
        if (m_plugin.Load(TestPluginFile(), kTarnVersionText) == CPlugin::LoadOk)
            m_plugins.Add(m_plugin);
        WriteAgentConfig("[Server]\nServer1=alpha\n[alpha]\nApp1=notepad.exe\n"
                         "Service1=spool.exe;Spooler;Druckwarteschlange\n");
    }
    ~CAuditionSheetSupport() {
        m_database.Close();
        m_plugin.Unload();
    }

    bool IsReady() const { return m_bOpen && m_plugin.IsLoaded(); }
    CDBEngineTARN& Database() { return m_database; }
    CPluginList& Plugins() { return m_plugins; }
    const CPlugin& Plugin() const { return m_plugin; }
    const AuditionSheetContext& Context() const { return m_context; }
    const std::string& ConfigFile() const { return m_strConfig; }
    std::string DataDirectory() const { return m_dir.Path() + "/"; }
    void WriteAgentConfig(const std::string& text) {
        std::ofstream(m_dir.File("TARN.CFG")) << text;
    }

    // A stored audition of the type; fill sets its own fields.
    DBAudition Store(AuditionType type, const std::string& name, bool active,
                     const std::function<void(DBAudition&)>& fill = {}) {
        DBAudition audition;
        audition.AUDITION_ID = AUDITION_ID_NEW;
        audition.AUDITION_TYPE = static_cast<int32_t>(type);
        audition.NAME = name;
        audition.ACTIVE = active;
        if (fill)
            fill(audition);
        m_database.SetAudition(audition);
        return audition;
    }
    DBAudition Read(int32_t auditionId) {
        DBAudition audition;
        m_database.GetAudition(auditionId, audition);
        return audition;
    }

private:
    CTempDir m_dir;
    CTraceCapture m_trace;
    std::string m_strConfig;
    CDBEngineTARN m_database;
    bool m_bOpen = false;
    CPlugin m_plugin;
    CPluginList m_plugins;
    CHeadlessPluginUI m_ui{false};
    CPluginHost m_host{[this] { return m_dir.File("TARN.CFG"); }, m_ui};
    AuditionSheetContext m_context{m_database, m_plugins, m_host,
                                   [this] { return m_dir.File("TARN.CFG"); },
                                   QStringLiteral("velda TARN! 2.5")};
};

// Waits (without blocking the event loop) for the next modal dialog of the
// type and hands it to the action, which must end it.
template <class Dialog> class CDialogDriver {
public:
    explicit CDialogDriver(std::function<void(Dialog&)> action) : m_action(std::move(action)) {
        Poll();
    }
    bool Done() const { return m_bDone; }

private:
    void Poll() {
        QTimer::singleShot(10, [this] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                Poll();
                return;
            }
            m_bDone = true;
            m_action(*dialog);
        });
    }

    std::function<void(Dialog&)> m_action;
    bool m_bDone = false;
};
