// The operations on the configuration file "TARN.MDB": auditions with their
// detail rows, notifications with their six channel rows, notify profiles and
// the two ordered relations, plug-ins, the one-row tables and the schema
// version. Runs on the database thread only; every operation returns false
// after an engine error, which it reports itself (message 1019).
#pragma once

#include "CDBStore.h"
#include "DBRecords.h"

class CDBConfigStore : public CDBStore {
public:
    using CDBStore::CDBStore;

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

    bool GetNotifyProfileNotifications(int32_t nProfileID, DBKeyList& notificationIDs);
    bool SetNotifyProfileNotifications(int32_t nProfileID, const DBKeyList& notificationIDs);
    bool GetAuditNotifyProfiles(int32_t nAuditionID, DBKeyList& profileIDs);
    bool SetAuditNotifyProfiles(int32_t nAuditionID, const DBKeyList& profileIDs);

    bool GetConfiguration(DBConfiguration& record);
    bool SetConfiguration(const DBConfiguration& record);
    bool GetNotifyServicesConfig(DBNotifySrvConfig& record);
    bool SetNotifyServicesConfig(const DBNotifySrvConfig& record);

    bool SetPlugin(const DBPlugin& record);
    bool GetAllPlugins(DBPluginList& list);
    bool DeletePlugin(const DBPlugin& record);

    bool SetDBVersionApp(int32_t nVersion);
    // DB_VERSION of the first A_SYSTEM row; throws CDBException.
    int32_t ReadVersion();

private:
    bool ReadNotification(int32_t nNotificationID, DBNotification& record);
    bool WriteNotification(DBNotification& record);
    bool ReadAudition(int32_t nAuditionID, DBAudition& record);
    bool WriteAudition(DBAudition& record);
    bool ReadAuditionDetail(DBAudition& record);
    bool WriteAuditionDetail(DBAudition& record, bool bNew);
    bool ReadProfile(int32_t nProfileID, DBNotifyProfile& record);
    void WriteRelation(const std::string& strTable, const std::string& strOwnerColumn,
                       int32_t nOwnerID, const DBKeyList& memberIDs);
    bool CheckServiceRowCounts();
};
