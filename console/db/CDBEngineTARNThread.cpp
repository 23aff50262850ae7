#include "CDBEngineTARNThread.h"

#include "CDBConverter.h"
#include "DBAssert.h"
#include "DBMessages.h"
#include "SpinWait.h"
#include "WorkerThread.h"

CDBEngineTARNThread::CDBEngineTARNThread(IDBReporter& reporter)
    : m_reporter(reporter), m_thread([this] { Run(); }) {}

CDBEngineTARNThread::~CDBEngineTARNThread() {
    if (m_thread.joinable())
        m_thread.join();
}

void CDBEngineTARNThread::PostRequest(int nCode) {
    {
        std::lock_guard guard(m_queueLock);
        m_queue.push_back(nCode);
    }
    m_nQueued.fetch_add(1, std::memory_order_release);
    m_queueSignal.notify_one();
}

void CDBEngineTARNThread::WaitForCompletion() {
    SpinUntil([this] { return m_bCompleted.load(std::memory_order_acquire); }, kSpinLimit);
    m_completion.Wait(); // at once when the spin saw the answer
    m_bCompleted.store(false, std::memory_order_relaxed);
}

void CDBEngineTARNThread::SignalCompletion() {
    m_bCompleted.store(true, std::memory_order_release);
    m_completion.Set();
}

int CDBEngineTARNThread::NextRequest() {
    SpinUntil([this] { return m_nQueued.load(std::memory_order_acquire) > 0; }, kSpinLimit);
    std::unique_lock lock(m_queueLock);
    m_queueSignal.wait(lock, [this] { return !m_queue.empty(); });
    int nCode = m_queue.front();
    m_queue.pop_front();
    m_nQueued.fetch_sub(1, std::memory_order_relaxed);
    return nCode;
}

void CDBEngineTARNThread::Run() {
    SetCurrentThreadName("tarn-db");
    for (;;) {
        int nCode = NextRequest();
        if (nCode == DB_REQUEST_END_THREAD) {
            // The engine objects are destroyed on the thread that used them.
            Close();
            SignalCompletion();
            return;
        }
        Serve(nCode);
        SignalCompletion();
    }
}

void CDBEngineTARNThread::Serve(int nCode) {
    if (nCode == DB_REQUEST_OPEN)
        Open();
    else if (nCode == DB_REQUEST_CLOSE)
        Close();
    else if (nCode == DB_REQUEST_GET_DB_VERSIONS)
        GetDBVersions();
    else if (nCode >= DB_REQUEST_GET_ALL_NOTIFICATIONS && nCode <= DB_REQUEST_DELETE_PLUGIN)
        m_block.bConfigResult = m_pConfigStore && ServeConfiguration(nCode, *m_pConfigStore);
    else if (nCode >= DB_REQUEST_SET_EVENT_ENTRY && nCode <= DB_REQUEST_DELETE_PROBLEM)
        m_block.bHistoryResult = m_pHistoryStore && ServeHistory(nCode, *m_pHistoryStore);
    else
        TARN_ASSERT_FAIL("Ungültiger Funktionsaufruf");
}

bool CDBEngineTARNThread::ServeConfiguration(int nCode, CDBConfigStore& store) {
    DBRequestBlock& b = m_block;
    switch (nCode) {
    case DB_REQUEST_GET_ALL_NOTIFICATIONS:
        return store.GetAllNotifications(*b.pNotificationList);
    case DB_REQUEST_GET_NOTIFICATION:
        return store.GetNotification(b.nNotificationID, *b.pNotification);
    case DB_REQUEST_SET_NOTIFICATION:
        return store.SetNotification(*b.pNotification);
    case DB_REQUEST_DELETE_NOTIFICATION:
        return store.DeleteNotification(b.nNotificationID);
    case DB_REQUEST_GET_ALL_AUDITIONS:
        return store.GetAllAuditions(*b.pAuditionList);
    case DB_REQUEST_GET_AUDITION:
        return store.GetAudition(b.nAuditionID, *b.pAudition);
    case DB_REQUEST_SET_AUDITION:
        return store.SetAudition(*b.pAudition);
    case DB_REQUEST_DELETE_AUDITION:
        return store.DeleteAudition(b.nAuditionID);
    case DB_REQUEST_IS_AUDITION_VALID:
        return store.IsAuditionValid(b.nAuditionID);
    case DB_REQUEST_GET_ALL_NOTIFY_PROFILES:
        return store.GetAllNotifyProfiles(*b.pProfileList);
    case DB_REQUEST_GET_NOTIFY_PROFILE:
        return store.GetNotifyProfile(b.nProfileID, *b.pProfile);
    case DB_REQUEST_SET_NOTIFY_PROFILE:
        return store.SetNotifyProfile(*b.pProfile);
    case DB_REQUEST_DELETE_NOTIFY_PROFILE:
        return store.DeleteNotifyProfile(b.nProfileID);
    case DB_REQUEST_GET_CONFIGURATION:
        return store.GetConfiguration(*b.pConfiguration);
    case DB_REQUEST_SET_CONFIGURATION:
        return store.SetConfiguration(*b.pConfigurationIn);
    case DB_REQUEST_GET_NOTIFY_SERVICES_CONFIG:
        return store.GetNotifyServicesConfig(*b.pServices);
    case DB_REQUEST_SET_NOTIFY_SERVICES_CONFIG:
        return store.SetNotifyServicesConfig(b.services);
    case DB_REQUEST_GET_NOTIFY_PROFILE_NOTIFICATIONS:
        return store.GetNotifyProfileNotifications(b.nProfileID, *b.pNotificationKeys);
    case DB_REQUEST_SET_NOTIFY_PROFILE_NOTIFICATIONS:
        return store.SetNotifyProfileNotifications(b.nProfileID, *b.pNotificationKeysIn);
    case DB_REQUEST_GET_AUDIT_NOTIFY_PROFILES:
        return store.GetAuditNotifyProfiles(b.nAuditionID, *b.pProfileKeys);
    case DB_REQUEST_SET_AUDIT_NOTIFY_PROFILES:
        return store.SetAuditNotifyProfiles(b.nAuditionID, *b.pProfileKeysIn);
    case DB_REQUEST_CONVERT_DATABASE:
        return CDBConverter(store, m_reporter, m_conversionPause).ConvertDatabase(b.nTargetVersion);
    case DB_REQUEST_SET_PLUGIN:
        return store.SetPlugin(*b.pPlugin);
    case DB_REQUEST_GET_ALL_PLUGINS:
        return store.GetAllPlugins(*b.pPluginList);
    case DB_REQUEST_DELETE_PLUGIN:
        return store.DeletePlugin(*b.pPlugin);
    }
    return false;
}

bool CDBEngineTARNThread::ServeHistory(int nCode, CDBHistoryStore& store) {
    DBRequestBlock& b = m_block;
    switch (nCode) {
    case DB_REQUEST_SET_EVENT_ENTRY:
        return store.SetEventEntry(*b.pEvent);
    case DB_REQUEST_GET_EVENT_ENTRY:
        return store.GetEventEntry(b.nEventID, *b.pEvent);
    case DB_REQUEST_GET_PROBLEM_EVENT_ENTRIES:
        return store.GetProblemEventEntries(b.nProblemID, *b.pEventList);
    case DB_REQUEST_SET_PROBLEM:
        return store.SetProblem(*b.pProblem);
    case DB_REQUEST_GET_PROBLEM:
        return store.GetProblem(b.nProblemID, *b.pProblem);
    case DB_REQUEST_GET_ALL_PROBLEMS:
        return store.GetAllProblems(b.nAuditionFilter, b.nStatusFilter, *b.pProblemList);
    case DB_REQUEST_DELETE_PROBLEM:
        return store.DeleteProblem(b.nProblemID);
    }
    return false;
}

void CDBEngineTARNThread::Open() {
    m_block.bConfigOpened = false;
    m_block.bHistoryOpened = false;
    m_block.bOpenResult = false;
    Close();
    // Opening failures report nothing: the caller names the file that failed.
    std::string strError;
    m_pConfigDB = CDBConnection::Open(m_block.strConfigPath, strError);
    if (!m_pConfigDB)
        return;
    m_pConfigStore = std::make_unique<CDBConfigStore>(*m_pConfigDB, m_reporter);
    m_block.bConfigOpened = true;
    m_pHistoryDB = CDBConnection::Open(m_block.strHistoryPath, strError);
    if (!m_pHistoryDB)
        return;
    m_pHistoryStore = std::make_unique<CDBHistoryStore>(*m_pHistoryDB, m_reporter);
    m_block.bHistoryOpened = true;
    m_block.bOpenResult = true;
}

void CDBEngineTARNThread::Close() {
    m_pConfigStore.reset();
    m_pHistoryStore.reset();
    m_pConfigDB.reset();
    m_pHistoryDB.reset();
}

void CDBEngineTARNThread::GetDBVersions() {
    m_block.nConfigVersion = 0;
    m_block.nHistoryVersion = 0;
    try {
        if (m_pConfigDB)
            m_block.nConfigVersion = CDBStore::ReadDBVersion(*m_pConfigDB);
        if (m_pHistoryDB)
            m_block.nHistoryVersion = CDBStore::ReadDBVersion(*m_pHistoryDB);
    } catch (const std::exception& error) {
        m_block.nConfigVersion = 0;
        m_block.nHistoryVersion = 0;
        ReportDBError(m_reporter, "GetDBVersions", error.what());
    }
}
