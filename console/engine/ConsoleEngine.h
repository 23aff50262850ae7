// The console's engine: everything that runs apart from windows. It owns the
// stop event, the audition and computer lists, the notification queue with its
// caches, the pending actions, the send lock, the plug-ins, the notification
// channels and the two worker threads, brings the audition list in line with the
// configuration database, and shuts all of it down in a fixed order. The
// desktop interface and the headless console each own one engine and show
// what it reports through their IConsoleView.
#pragma once

#include "AgentActions.h"
#include "AgentExchange.h"
#include "AuditThread.h"
#include "AuditionClaim.h"
#include "AuditionList.h"
#include "CDBEngineTARN.h"
#include "CPluginHost.h"
#include "CPluginList.h"
#include "CPluginManager.h"
#include "ComputerList.h"
#include "Event.h"
#include "GatewayLink.h"
#include "GlobalSettings.h"
#include "HistoryRecorder.h"
#include "IAuditionHost.h"
#include "IConsoleView.h"
#include "INotificationChannels.h"
#include "IPinger.h"
#include "IPluginStore.h"
#include "IPluginUI.h"
#include "NotificationCaches.h"
#include "NotificationDispatcher.h"
#include "NotificationList.h"
#include "NotificationThread.h"
#include "ProblemHandler.h"
#include "TestNotifications.h"

#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

struct ConsoleEngineOptions {
    std::chrono::milliseconds AuditPeriod{15000};       // between two audition passes
    std::chrono::milliseconds NotificationPeriod{2000}; // between two queue passes
    std::chrono::seconds SmsRetryInterval{120};
    std::chrono::seconds SystemRestartLimit{15 * 60};
    std::function<std::time_t()> Now = [] { return std::time(nullptr); };
    // Makes the notification channels (with the mail library they load) once
    // the engine's recorder, send lock and caches exist; they are released at
    // shutdown after both threads have ended. Empty: a set that records every
    // send as failed.
    std::function<std::unique_ptr<INotificationChannels>(CHistoryRecorder&, std::mutex& sendLock,
                                                         const CNotificationCaches&)>
        MakeChannels;
    // Pings; null: through the gateway link (none: every ping fails with -1).
    IPinger* Pinger = nullptr;
};

class CConsoleEngine : public IAuditionHost {
public:
    // gateway may be null (no gateway to ping through or to end at shutdown).
    CConsoleEngine(CDBEngineTARN& database, CGlobalSettings& settings, CGatewayLink* gateway,
                   IConsoleView& view, IPluginUI& pluginUI, ConsoleEngineOptions options = {});
    ~CConsoleEngine() override;
    CConsoleEngine(const CConsoleEngine&) = delete;
    CConsoleEngine& operator=(const CConsoleEngine&) = delete;

    // Loads the mail library and the plug-ins, starts both threads and fills
    // the notification caches.
    void InitializeFrame();
    // Brings the audition list in line with the configuration database.
    void SynchronizeAuditionList();
    // Stores every audition that is no longer running as inactive.
    void StoreStoppedAuditions();
    void ReloadNotificationCaches();
    // Stops both threads and releases everything in order; may be repeated.
    void ShutdownFrame();

    bool GetReactivate() const { return m_settings.GetReactivate(); }
    void SetReactivate(bool reactivate) { m_settings.SetReactivate(reactivate); }

    // IAuditionHost: called on the audition thread.
    void CheckOpenProblems(AuditionEntry& entry) override;
    void BeginPass() override;
    void EndPass() override;
    bool OnAuditionError(AuditionEntry entry) override;
    void AddEventViewLine(int kind, const std::string& computer, const std::string& audition,
                          const std::string& text) override;

    CAuditionList& GetAuditionList() { return m_auditions; }
    CComputerList& GetComputerList() { return m_computers; }
    CNotificationList& GetNotificationList() { return m_queue; }
    CNotificationCaches& GetNotificationCaches() { return m_caches; }
    CHistoryRecorder& GetRecorder() { return m_recorder; }
    CPluginList& GetPluginList() { return m_plugins; }
    // Installing and removing plug-ins while the console runs (the plug-in sheet).
    CPluginManager& GetPluginManager() { return m_pluginManager; }
    IPluginHost& GetPluginHost() { return m_pluginHost; }
    std::mutex& GetSendLock() { return m_sendLock; }
    // Audition passes completed since InitializeFrame; 0 before and after.
    uint64_t GetAuditPassCount() const {
        return m_pAuditThread ? m_pAuditThread->GetPassCount() : 0;
    }
    // The sheets' test notifications through the engine's channels, open
    // while the engine runs.
    CTestNotifications& GetTestNotifications() { return m_tests; }
    // A copy of the cached service settings.
    DBNotifySrvConfig GetServiceSettings() const { return m_caches.GetServiceSettings(); }

private:
    void StopAudition(AuditionEntry& entry);
    void UpdateEntry(CAuditionClaim& claim, const AuditionEntry& planned);
    void AddEntry(AuditionEntry entry);
    void RemoveInvalidEntries();
    std::vector<int32_t> ListedAuditionIds();
    void CreatePluginInstance(AuditionEntry& entry);
    void ReleasePluginInstance(AuditionEntry& entry);
    void ReleaseAllPluginInstances();
    void StoreAllInactive();
    void StopThreads();

    CDBEngineTARN& m_database;
    CGlobalSettings& m_settings;
    CGatewayLink* m_pGateway;
    const ConsoleEngineOptions m_options;

    CEvent m_stopEvent{true};
    CAuditionList m_auditions;
    CComputerList m_computers;
    CNotificationList m_queue;
    CNotificationCaches m_caches;
    std::mutex m_sendLock;
    CHistoryRecorder m_recorder;
    CAgentActions m_actions;
    CProblemHandler m_problems;
    CAgentExchange m_agents;
    CPluginList m_plugins;
    CPluginStoreAdapter<CDBEngineTARN> m_pluginStore;
    CPluginHost m_pluginHost;
    CPluginManager m_pluginManager;

    std::unique_ptr<IPinger> m_pOwnedPinger;
    std::unique_ptr<INotificationChannels> m_pChannels;
    CTestNotifications m_tests; // closed before the channels go
    std::unique_ptr<CNotificationDispatcher> m_pDispatcher;
    std::unique_ptr<CAuditThread> m_pAuditThread;
    std::unique_ptr<CNotificationThread> m_pNotificationThread;
    bool m_bRunning = false;
};
