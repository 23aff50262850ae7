#include "ConsoleEngine.h"

#include "AuditionClaim.h"
#include "AuditionComputer.h"
#include "FaxSettings.h"
#include "GatewayPinger.h"
#include "LUTool.h"
#include "NotifyPlan.h"
#include "ReactivationSetting.h"
#include "RegistryFile.h"
#include "UnavailableChannels.h"

namespace {

// A ping without any gateway to send it.
class CNoPinger : public IPinger {
public:
    int32_t Ping(const std::string&, uint32_t) override { return -1; }
};

bool IsPlugin(const AuditionEntry& entry) {
    return static_cast<AuditionType>(entry.Definition.AUDITION_TYPE) == AuditionType::Plugin;
}

} // namespace

CConsoleEngine::CConsoleEngine(CDBEngineTARN& database, CGlobalSettings& settings,
                               CGatewayLink* gateway, IConsoleView& view, IPluginUI& pluginUI,
                               ConsoleEngineOptions options)
    : m_database(database), m_settings(settings), m_pGateway(gateway),
      m_options(std::move(options)), m_recorder(database, view, m_options.Now),
      m_actions(m_recorder, m_computers, {m_options.SystemRestartLimit}),
      m_problems({m_recorder, m_actions, m_caches, m_queue, m_auditions, &m_plugins,
                  [this](AuditionEntry& entry) { StopAudition(entry); }}),
      m_agents(m_computers, *this, [this] { return m_settings.GetDataDirectory(); }),
      m_pluginStore(database),
      m_pluginHost([this] { return m_settings.GetGlobalConfigFile(); }, pluginUI),
      m_pluginManager(m_plugins, m_pluginStore, pluginUI,
                      settings.InstallationDirectory + "Plugins/") {}

CConsoleEngine::~CConsoleEngine() {
    ShutdownFrame();
}

void CConsoleEngine::InitializeFrame() {
    if (m_bRunning)
        return;
    m_stopEvent.Reset();
    m_pluginManager.LoadInstalledPlugins();

    IPinger* pinger = m_options.Pinger;
    if (!pinger) {
        if (m_pGateway)
            m_pOwnedPinger = std::make_unique<CGatewayPinger>(*m_pGateway);
        else
            m_pOwnedPinger = std::make_unique<CNoPinger>();
        pinger = m_pOwnedPinger.get();
    }
    AuditThreadOptions auditOptions;
    auditOptions.Period = m_options.AuditPeriod;
    auditOptions.Now = m_options.Now;
    m_pAuditThread = std::make_unique<CAuditThread>(*this, m_auditions, m_agents, *pinger,
                                                    m_stopEvent, auditOptions);
    m_pAuditThread->Start();

    if (m_options.MakeChannels)
        m_pChannels = m_options.MakeChannels(m_recorder, m_sendLock, m_caches);
    if (!m_pChannels)
        m_pChannels = std::make_unique<CUnavailableChannels>(m_recorder, m_sendLock);
    m_tests.Open(*m_pChannels);
    m_pDispatcher = std::make_unique<CNotificationDispatcher>(
        *m_pChannels, m_caches, DispatchOptions{m_options.Now, m_options.SmsRetryInterval});
    m_pNotificationThread = std::make_unique<CNotificationThread>(
        m_queue, *m_pDispatcher, m_stopEvent, m_options.NotificationPeriod);
    m_pNotificationThread->Start();
    m_bRunning = true;
    ReloadNotificationCaches();
    // The fax software reads its dial settings from the registry file.
    WriteFaxSettings(CRegistryFile(m_settings.RegistryFile), GetServiceSettings());
}

void CConsoleEngine::ReloadNotificationCaches() {
    m_caches.Reload(m_database);
}

// The database is read first and each entry is then changed under its claim:
// an entry that the audition thread is checking is changed once its check
// has ended, and plug-in instances are stopped and released by the claim
// holder, never during a check.
void CConsoleEngine::SynchronizeAuditionList() {
    if (!m_pAuditThread)
        return;
    DBAuditionList auditions;
    if (!m_database.GetAllAuditions(auditions))
        return;
    for (const DBAudition& audition : auditions) {
        AuditionEntry planned;
        planned.Definition = audition;
        BuildNotifyPlan(m_database, planned);
        CAuditionClaim claim = CAuditionClaim::OfAudition(m_auditions, audition.AUDITION_ID);
        if (claim)
            UpdateEntry(claim, planned);
        else
            AddEntry(planned);
    }
    RemoveInvalidEntries();
}

void CConsoleEngine::UpdateEntry(CAuditionClaim& claim, const AuditionEntry& planned) {
    AuditionEntry& entry = claim.Entry();
    entry.Definition = planned.Definition;
    entry.NotifyProfiles = planned.NotifyProfiles;
    if (entry.Definition.ACTIVE)
        m_pAuditThread->StartAudition(entry);
    else
        m_pAuditThread->StopAudition(entry, false);
    claim.WriteBack();
}

// A new entry starts only when its audition is active: an inactive one waits
// for the operator.
void CConsoleEngine::AddEntry(AuditionEntry entry) {
    if (IsPlugin(entry))
        CreatePluginInstance(entry);
    if (entry.Definition.ACTIVE)
        m_pAuditThread->StartAudition(entry);
    CAuditionListLock lock(m_auditions);
    m_auditions.AddAudition(entry.Definition);
    const int nIndexWithID = m_auditions.FindIndex(entry.Definition.AUDITION_ID);
    TARN_ASSERT(nIndexWithID >= 0, "Überwachung wurde nicht in Liste eingefügt");
    if (nIndexWithID >= 0)
        m_auditions.SetAt(nIndexWithID, entry);
}

void CConsoleEngine::RemoveInvalidEntries() {
    for (const int32_t auditionId : ListedAuditionIds()) {
        if (m_database.IsAuditionValid(auditionId))
            continue;
        CAuditionClaim claim = CAuditionClaim::OfAudition(m_auditions, auditionId);
        if (!claim)
            continue;
        m_pAuditThread->StopAudition(claim.Entry(), false);
        ReleasePluginInstance(claim.Entry());
        claim.Remove();
    }
}

std::vector<int32_t> CConsoleEngine::ListedAuditionIds() {
    std::vector<int32_t> ids;
    CAuditionListLock lock(m_auditions);
    for (int index = 0; index < m_auditions.GetSize(); ++index)
        ids.push_back(m_auditions.GetAt(index).Definition.AUDITION_ID);
    return ids;
}

void CConsoleEngine::CreatePluginInstance(AuditionEntry& entry) {
    CPlugin plugin;
    if (!m_plugins.Find(entry.Definition.Plugin.PLUGIN_TYPE, plugin))
        return;
    IPluginInstance* instance = nullptr;
    if (plugin.CreateInstance(entry.Definition.AUDITION_ID, AuditionComputerOf(entry.Definition),
                              &m_pluginHost, &instance) == 0)
        entry.PluginInstance = instance;
}

void CConsoleEngine::ReleasePluginInstance(AuditionEntry& entry) {
    if (!IsPlugin(entry) || !entry.PluginInstance)
        return;
    CPlugin plugin;
    if (m_plugins.Find(entry.Definition.Plugin.PLUGIN_TYPE, plugin))
        plugin.DestroyInstance(entry.PluginInstance);
    entry.PluginInstance = nullptr;
}

void CConsoleEngine::ReleaseAllPluginInstances() {
    for (const int32_t auditionId : ListedAuditionIds()) {
        CAuditionClaim claim = CAuditionClaim::OfAudition(m_auditions, auditionId);
        if (!claim || !claim.Entry().PluginInstance)
            continue;
        ReleasePluginInstance(claim.Entry());
        claim.WriteBack();
    }
}

void CConsoleEngine::StoreStoppedAuditions() {
    std::vector<int32_t> stopped;
    {
        CAuditionListLock lock(m_auditions);
        for (int index = 0; index < m_auditions.GetSize(); ++index) {
            const AuditionEntry entry = m_auditions.GetAt(index);
            if (!entry.Running)
                stopped.push_back(entry.Definition.AUDITION_ID);
        }
    }
    for (const int32_t auditionId : stopped) {
        DBAudition audition;
        if (!m_database.GetAudition(auditionId, audition))
            continue;
        audition.ACTIVE = false;
        m_database.SetAudition(audition);
    }
}

void CConsoleEngine::StoreAllInactive() {
    DBAuditionList auditions;
    if (!m_database.GetAllAuditions(auditions))
        return;
    for (DBAudition& audition : auditions) {
        audition.ACTIVE = false;
        m_database.SetAudition(audition);
    }
}

// Both threads wait on the one stop event; each is joined, notifications first.
void CConsoleEngine::StopThreads() {
    m_stopEvent.Set();
    if (m_pNotificationThread)
        m_pNotificationThread->Join();
    if (m_pAuditThread)
        m_pAuditThread->Join();
    m_pNotificationThread.reset();
    m_pAuditThread.reset();
}

void CConsoleEngine::ShutdownFrame() {
    if (!m_bRunning)
        return;
    m_bRunning = false;
    StopThreads();
    m_queue.Clear(); // queued notifications are not kept across a restart
    if (!m_settings.GetReactivate())
        StoreAllInactive();
    m_problems.CloseAllOpenProblems();
    m_pDispatcher.reset();
    m_tests.Close();
    m_pChannels.reset(); // frees the mail library
    ReleaseAllPluginInstances();
    m_pluginManager.UnloadAll();
    if (m_pGateway)
        m_pGateway->Quit();
    WriteReactivationSetting(m_settings.RegistryFile, m_settings.GetReactivate());
}

void CConsoleEngine::StopAudition(AuditionEntry& entry) {
    if (m_pAuditThread)
        m_pAuditThread->StopAudition(entry, false);
}

void CConsoleEngine::CheckOpenProblems(AuditionEntry& entry) {
    m_problems.CheckOpenProblems(entry);
}

void CConsoleEngine::BeginPass() {
    m_problems.BeginPass();
}

void CConsoleEngine::EndPass() {
    m_problems.EndPass();
}

bool CConsoleEngine::OnAuditionError(AuditionEntry entry) {
    return m_problems.OnAuditionError(std::move(entry));
}

void CConsoleEngine::AddEventViewLine(int kind, const std::string& computer,
                                      const std::string& audition, const std::string& text) {
    m_recorder.AddEventViewLine(kind, computer, audition, text);
}
