// The front of the database layer: one object, owned by the application, whose
// member functions are plain synchronous calls. Each hands its request to the
// database thread and blocks until the thread has served it; one request at a
// time across all calling threads.
//
// Engine errors are reported on the database thread through the IDBReporter
// (message 1019 naming the operation) and the call returns false. The
// reporter must not call back into this object: the caller's lock is held.
#pragma once

#include "CDBEngineTARNThread.h"
#include "DBRecords.h"
#include "IDBReporter.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

class CDBEngineTARN {
public:
    // Starts the database thread. Without a reporter, messages go to standard
    // error and the trace file.
    explicit CDBEngineTARN(IDBReporter* pReporter = nullptr);
    // Closes the databases and ends the database thread.
    ~CDBEngineTARN();
    CDBEngineTARN(const CDBEngineTARN&) = delete;
    CDBEngineTARN& operator=(const CDBEngineTARN&) = delete;

    // Opens both files (the history file only when the configuration file
    // opened); the flags tell which opened. Reports nothing on failure.
    bool Open(const std::string& strConfigPath, const std::string& strHistoryPath,
              bool& bConfigOpened, bool& bHistoryOpened);
    // Closes whatever is open; may be repeated.
    void Close();
    // Both schema versions; 0 for a file that could not be read.
    void GetDBVersions(int32_t& nConfigVersion, int32_t& nHistoryVersion);

    bool GetAllNotifications(DBNotificationList& list);
    bool GetNotification(int32_t nNotificationID, DBNotification& record);
    bool SetNotification(DBNotification& record);
    bool DeleteNotification(int32_t nNotificationID);
    bool GetAllAuditions(DBAuditionList& list);
    bool GetAudition(int32_t nAuditionID, DBAudition& record);
    bool SetAudition(DBAudition& record);
    bool DeleteAudition(int32_t nAuditionID);
    bool IsAuditionValid(int32_t nAuditionID);
    bool GetAllNotifyProfiles(DBNotifyProfileList& list);
    bool GetNotifyProfile(int32_t nProfileID, DBNotifyProfile& record);
    bool SetNotifyProfile(DBNotifyProfile& record);
    bool DeleteNotifyProfile(int32_t nProfileID);
    bool GetConfiguration(DBConfiguration& record);
    bool SetConfiguration(const DBConfiguration& record);
    bool GetNotifyServicesConfig(DBNotifySrvConfig& record);
    // The settings are copied: the caller's record is not touched.
    bool SetNotifyServicesConfig(const DBNotifySrvConfig& record);
    bool GetNotifyProfileNotifications(int32_t nProfileID, DBKeyList& notificationIDs);
    bool SetNotifyProfileNotifications(int32_t nProfileID, const DBKeyList& notificationIDs);
    bool GetAuditNotifyProfiles(int32_t nAuditionID, DBKeyList& profileIDs);
    bool SetAuditNotifyProfiles(int32_t nAuditionID, const DBKeyList& profileIDs);
    bool ConvertDatabase(int32_t nTargetVersion);
    bool SetPlugin(const DBPlugin& record);
    bool GetAllPlugins(DBPluginList& list);
    bool DeletePlugin(const DBPlugin& record);

    bool SetEventEntry(DBHEvent& record);
    bool GetProblemEventEntries(int32_t nProblemID, DBHEventList& list);
    bool SetProblem(DBHProblem& record);
    bool GetProblem(int32_t nProblemID, DBHProblem& record);
    // Status filter 0 = every problem; otherwise that status, and that
    // audition when the audition filter is not 0.
    bool GetAllProblems(int32_t nAuditionFilter, int32_t nStatusFilter, DBHProblemList& list);
    bool DeleteProblem(int32_t nProblemID);

    bool IsOpen() const;
    // The wait before each conversion step (one second unless set), so that
    // the progress window can be read; tools and tests set 0.
    void SetConversionPause(std::chrono::milliseconds pause);
    // Sends any request code and returns the configuration result slot. For
    // tools and tests of the request protocol: an undefined code is
    // reported as an assertion and the caller is still released.
    bool SendRequest(int nCode);

private:
    mutable std::mutex m_lock; // one request at a time
    bool m_bEngineOpen = false;
    std::unique_ptr<IDBReporter> m_pOwnedReporter;
    std::unique_ptr<CDBEngineTARNThread> m_pThread;

    DBRequestBlock& Block() { return m_pThread->RequestBlock(); }
    void CheckOpen() const;
    void Issue(int nCode);
    // Checks that the engine is open, fills the block, serves the code and
    // returns the configuration or history result slot.
    template <class Fill> bool ConfigRequest(int nCode, Fill&& fill);
    template <class Fill> bool HistoryRequest(int nCode, Fill&& fill);
};
