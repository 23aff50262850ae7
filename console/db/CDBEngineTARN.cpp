#include "CDBEngineTARN.h"

#include "CHeadlessDBReporter.h"
#include "DBAssert.h"

CDBEngineTARN::CDBEngineTARN(IDBReporter* pReporter) {
    if (!pReporter) {
        m_pOwnedReporter = std::make_unique<CHeadlessDBReporter>();
        pReporter = m_pOwnedReporter.get();
    }
    m_pThread = std::make_unique<CDBEngineTARNThread>(*pReporter);
}

CDBEngineTARN::~CDBEngineTARN() {
    Close();
    {
        std::lock_guard guard(m_lock);
        Issue(DB_REQUEST_END_THREAD);
    }
    m_pThread.reset();
}

void CDBEngineTARN::Issue(int nCode) {
    m_pThread->PostRequest(nCode);
    m_pThread->WaitForCompletion();
}

void CDBEngineTARN::CheckOpen() const {
    DB_ASSERT(m_bEngineOpen, "m_bEngineOpen", "DBEngine nicht geöffnet");
}

template <class Fill> bool CDBEngineTARN::ConfigRequest(int nCode, Fill&& fill) {
    std::lock_guard guard(m_lock);
    CheckOpen();
    fill(Block());
    Issue(nCode);
    return Block().bConfigResult;
}

template <class Fill> bool CDBEngineTARN::HistoryRequest(int nCode, Fill&& fill) {
    std::lock_guard guard(m_lock);
    CheckOpen();
    fill(Block());
    Issue(nCode);
    return Block().bHistoryResult;
}

bool CDBEngineTARN::Open(const std::string& strConfigPath, const std::string& strHistoryPath,
                         bool& bConfigOpened, bool& bHistoryOpened) {
    std::lock_guard guard(m_lock);
    DB_ASSERT(!m_bEngineOpen, "!m_bEngineOpen", "DBEngine schon geöffnet");
    Block().strConfigPath = strConfigPath;
    Block().strHistoryPath = strHistoryPath;
    Issue(DB_REQUEST_OPEN);
    bConfigOpened = Block().bConfigOpened;
    bHistoryOpened = Block().bHistoryOpened;
    if (Block().bOpenResult)
        m_bEngineOpen = true;
    return Block().bOpenResult;
}

void CDBEngineTARN::Close() {
    std::lock_guard guard(m_lock);
    Issue(DB_REQUEST_CLOSE);
    m_bEngineOpen = false;
}

void CDBEngineTARN::GetDBVersions(int32_t& nConfigVersion, int32_t& nHistoryVersion) {
    std::lock_guard guard(m_lock);
    CheckOpen();
    Issue(DB_REQUEST_GET_DB_VERSIONS);
    nConfigVersion = Block().nConfigVersion;
    nHistoryVersion = Block().nHistoryVersion;
}

bool CDBEngineTARN::IsOpen() const {
    std::lock_guard guard(m_lock);
    return m_bEngineOpen;
}

void CDBEngineTARN::SetConversionPause(std::chrono::milliseconds pause) {
    std::lock_guard guard(m_lock);
    m_pThread->SetConversionPause(pause);
}

bool CDBEngineTARN::SendRequest(int nCode) {
    std::lock_guard guard(m_lock);
    Issue(nCode);
    return Block().bConfigResult;
}

// ---------------------------------------------------------------- configuration

bool CDBEngineTARN::GetAllNotifications(DBNotificationList& list) {
    return ConfigRequest(DB_REQUEST_GET_ALL_NOTIFICATIONS,
                         [&](DBRequestBlock& b) { b.pNotificationList = &list; });
}

bool CDBEngineTARN::GetNotification(int32_t nNotificationID, DBNotification& record) {
    return ConfigRequest(DB_REQUEST_GET_NOTIFICATION, [&](DBRequestBlock& b) {
        b.nNotificationID = nNotificationID;
        b.pNotification = &record;
    });
}

bool CDBEngineTARN::SetNotification(DBNotification& record) {
    return ConfigRequest(DB_REQUEST_SET_NOTIFICATION,
                         [&](DBRequestBlock& b) { b.pNotification = &record; });
}

bool CDBEngineTARN::DeleteNotification(int32_t nNotificationID) {
    return ConfigRequest(DB_REQUEST_DELETE_NOTIFICATION,
                         [&](DBRequestBlock& b) { b.nNotificationID = nNotificationID; });
}

bool CDBEngineTARN::GetAllAuditions(DBAuditionList& list) {
    return ConfigRequest(DB_REQUEST_GET_ALL_AUDITIONS,
                         [&](DBRequestBlock& b) { b.pAuditionList = &list; });
}

bool CDBEngineTARN::GetAudition(int32_t nAuditionID, DBAudition& record) {
    return ConfigRequest(DB_REQUEST_GET_AUDITION, [&](DBRequestBlock& b) {
        b.nAuditionID = nAuditionID;
        b.pAudition = &record;
    });
}

bool CDBEngineTARN::SetAudition(DBAudition& record) {
    return ConfigRequest(DB_REQUEST_SET_AUDITION,
                         [&](DBRequestBlock& b) { b.pAudition = &record; });
}

bool CDBEngineTARN::DeleteAudition(int32_t nAuditionID) {
    return ConfigRequest(DB_REQUEST_DELETE_AUDITION,
                         [&](DBRequestBlock& b) { b.nAuditionID = nAuditionID; });
}

bool CDBEngineTARN::IsAuditionValid(int32_t nAuditionID) {
    return ConfigRequest(DB_REQUEST_IS_AUDITION_VALID,
                         [&](DBRequestBlock& b) { b.nAuditionID = nAuditionID; });
}

bool CDBEngineTARN::GetAllNotifyProfiles(DBNotifyProfileList& list) {
    return ConfigRequest(DB_REQUEST_GET_ALL_NOTIFY_PROFILES,
                         [&](DBRequestBlock& b) { b.pProfileList = &list; });
}

bool CDBEngineTARN::GetNotifyProfile(int32_t nProfileID, DBNotifyProfile& record) {
    return ConfigRequest(DB_REQUEST_GET_NOTIFY_PROFILE, [&](DBRequestBlock& b) {
        b.nProfileID = nProfileID;
        b.pProfile = &record;
    });
}

bool CDBEngineTARN::SetNotifyProfile(DBNotifyProfile& record) {
    return ConfigRequest(DB_REQUEST_SET_NOTIFY_PROFILE,
                         [&](DBRequestBlock& b) { b.pProfile = &record; });
}

bool CDBEngineTARN::DeleteNotifyProfile(int32_t nProfileID) {
    return ConfigRequest(DB_REQUEST_DELETE_NOTIFY_PROFILE,
                         [&](DBRequestBlock& b) { b.nProfileID = nProfileID; });
}

bool CDBEngineTARN::GetConfiguration(DBConfiguration& record) {
    return ConfigRequest(DB_REQUEST_GET_CONFIGURATION,
                         [&](DBRequestBlock& b) { b.pConfiguration = &record; });
}

bool CDBEngineTARN::SetConfiguration(const DBConfiguration& record) {
    return ConfigRequest(DB_REQUEST_SET_CONFIGURATION,
                         [&](DBRequestBlock& b) { b.pConfigurationIn = &record; });
}

bool CDBEngineTARN::GetNotifyServicesConfig(DBNotifySrvConfig& record) {
    return ConfigRequest(DB_REQUEST_GET_NOTIFY_SERVICES_CONFIG,
                         [&](DBRequestBlock& b) { b.pServices = &record; });
}

bool CDBEngineTARN::SetNotifyServicesConfig(const DBNotifySrvConfig& record) {
    return ConfigRequest(DB_REQUEST_SET_NOTIFY_SERVICES_CONFIG,
                         [&](DBRequestBlock& b) { b.services = record; });
}

bool CDBEngineTARN::GetNotifyProfileNotifications(int32_t nProfileID, DBKeyList& notificationIDs) {
    return ConfigRequest(DB_REQUEST_GET_NOTIFY_PROFILE_NOTIFICATIONS, [&](DBRequestBlock& b) {
        b.nProfileID = nProfileID;
        b.pNotificationKeys = &notificationIDs;
    });
}

bool CDBEngineTARN::SetNotifyProfileNotifications(int32_t nProfileID,
                                                  const DBKeyList& notificationIDs) {
    return ConfigRequest(DB_REQUEST_SET_NOTIFY_PROFILE_NOTIFICATIONS, [&](DBRequestBlock& b) {
        b.nProfileID = nProfileID;
        b.pNotificationKeysIn = &notificationIDs;
    });
}

bool CDBEngineTARN::GetAuditNotifyProfiles(int32_t nAuditionID, DBKeyList& profileIDs) {
    return ConfigRequest(DB_REQUEST_GET_AUDIT_NOTIFY_PROFILES, [&](DBRequestBlock& b) {
        b.nAuditionID = nAuditionID;
        b.pProfileKeys = &profileIDs;
    });
}

bool CDBEngineTARN::SetAuditNotifyProfiles(int32_t nAuditionID, const DBKeyList& profileIDs) {
    return ConfigRequest(DB_REQUEST_SET_AUDIT_NOTIFY_PROFILES, [&](DBRequestBlock& b) {
        b.nAuditionID = nAuditionID;
        b.pProfileKeysIn = &profileIDs;
    });
}

bool CDBEngineTARN::ConvertDatabase(int32_t nTargetVersion) {
    return ConfigRequest(DB_REQUEST_CONVERT_DATABASE,
                         [&](DBRequestBlock& b) { b.nTargetVersion = nTargetVersion; });
}

bool CDBEngineTARN::SetPlugin(const DBPlugin& record) {
    return ConfigRequest(DB_REQUEST_SET_PLUGIN, [&](DBRequestBlock& b) { b.pPlugin = &record; });
}

bool CDBEngineTARN::GetAllPlugins(DBPluginList& list) {
    return ConfigRequest(DB_REQUEST_GET_ALL_PLUGINS,
                         [&](DBRequestBlock& b) { b.pPluginList = &list; });
}

bool CDBEngineTARN::DeletePlugin(const DBPlugin& record) {
    return ConfigRequest(DB_REQUEST_DELETE_PLUGIN, [&](DBRequestBlock& b) { b.pPlugin = &record; });
}

// ---------------------------------------------------------------- history

bool CDBEngineTARN::SetEventEntry(DBHEvent& record) {
    return HistoryRequest(DB_REQUEST_SET_EVENT_ENTRY,
                          [&](DBRequestBlock& b) { b.pEvent = &record; });
}

bool CDBEngineTARN::GetProblemEventEntries(int32_t nProblemID, DBHEventList& list) {
    return HistoryRequest(DB_REQUEST_GET_PROBLEM_EVENT_ENTRIES, [&](DBRequestBlock& b) {
        b.nProblemID = nProblemID;
        b.pEventList = &list;
    });
}

bool CDBEngineTARN::SetProblem(DBHProblem& record) {
    return HistoryRequest(DB_REQUEST_SET_PROBLEM, [&](DBRequestBlock& b) { b.pProblem = &record; });
}

bool CDBEngineTARN::GetProblem(int32_t nProblemID, DBHProblem& record) {
    return HistoryRequest(DB_REQUEST_GET_PROBLEM, [&](DBRequestBlock& b) {
        b.nProblemID = nProblemID;
        b.pProblem = &record;
    });
}

bool CDBEngineTARN::GetAllProblems(int32_t nAuditionFilter, int32_t nStatusFilter,
                                   DBHProblemList& list) {
    return HistoryRequest(DB_REQUEST_GET_ALL_PROBLEMS, [&](DBRequestBlock& b) {
        b.nAuditionFilter = nAuditionFilter;
        b.nStatusFilter = nStatusFilter;
        b.pProblemList = &list;
    });
}

bool CDBEngineTARN::DeleteProblem(int32_t nProblemID) {
    return HistoryRequest(DB_REQUEST_DELETE_PROBLEM,
                          [&](DBRequestBlock& b) { b.nProblemID = nProblemID; });
}
