#include "CDBConfigStore.h"

#include "CDBRAuditions.h"
#include "CDBRAuditionsApp.h"
#include "CDBRAuditionsLogfile.h"
#include "CDBRAuditionsNTEvtLog.h"
#include "CDBRAuditionsNet.h"
#include "CDBRAuditionsPlugin.h"
#include "CDBRAuditionsService.h"
#include "CDBRCfgNotifySrvFax.h"
#include "CDBRCfgNotifySrvMSMail.h"
#include "CDBRCfgNotifySrvSMS.h"
#include "CDBRCfgNotifySrvSMTP.h"
#include "CDBRConfiguration.h"
#include "CDBRNotifications.h"
#include "CDBRNotificationsFax.h"
#include "CDBRNotificationsMSMail.h"
#include "CDBRNotificationsPrinter.h"
#include "CDBRNotificationsSMS.h"
#include "CDBRNotificationsSMTP.h"
#include "CDBRNotificationsSNMP.h"
#include "CDBRNotifyProfiles.h"
#include "CDBRPlugins.h"
#include "CDBRRelAuditNotifyProfiles.h"
#include "CDBRRelNotifyProfileNfcn.h"

namespace {

constexpr const char* kNotificationNotFound = "NotificationID nicht gefunden";
constexpr const char* kAuditionNotFound = "AuditionID nicht gefunden";
constexpr const char* kUnknownAuditionType = "Unbekannter Überwachungstyp";

bool IsKnownAuditionType(int32_t nType) {
    return IsValidAuditionType(static_cast<AuditionType>(nType));
}

// Reads the row of a dependent table with the owner's key; a missing row is
// an assertion report.
template <class Binding, class Rec>
bool SeekDependent(CDBConnection& connection, const Binding& binding, int32_t nKey, Rec& record,
                   const char* strNotFound) {
    bool bSeekResult = binding.SelectByKey(connection, nKey, record);
    DB_ASSERT(bSeekResult, "bSeekResult", strNotFound);
    return bSeekResult;
}

// Adds the dependent row of a new owner, or changes the existing one; a
// missing row is an assertion report.
template <class Binding, class Rec>
bool WriteDependent(CDBConnection& connection, const Binding& binding, bool bNew, int32_t nKey,
                    const Rec& record, const char* strNotFound) {
    if (bNew) {
        binding.Insert(connection, record);
        return true;
    }
    bool bSeekResult = binding.UpdateByKey(connection, nKey, record);
    DB_ASSERT(bSeekResult, "bSeekResult", strNotFound);
    return bSeekResult;
}

} // namespace

// ---------------------------------------------------------------- notifications

bool CDBConfigStore::ReadNotification(int32_t nID, DBNotification& record) {
    const char* strNF = kNotificationNotFound;
    return SeekDependent(m_connection, CDBRNotifications::Get(), nID, record, strNF) &&
           SeekDependent(m_connection, CDBRNotificationsSMS::Get(), nID, record.SMS, strNF) &&
           SeekDependent(m_connection, CDBRNotificationsMSMail::Get(), nID, record.MSMail, strNF) &&
           SeekDependent(m_connection, CDBRNotificationsFax::Get(), nID, record.Fax, strNF) &&
           SeekDependent(m_connection, CDBRNotificationsPrinter::Get(), nID, record.Printer,
                         strNF) &&
           SeekDependent(m_connection, CDBRNotificationsSMTP::Get(), nID, record.SMTP, strNF) &&
           SeekDependent(m_connection, CDBRNotificationsSNMP::Get(), nID, record.SNMP, strNF);
}

bool CDBConfigStore::GetAllNotifications(DBNotificationList& list) {
    return Guard("GetAllNotifications", [&] {
        DBNotificationList keys;
        ReadAllRows(CDBRNotifications::Get(), "", {}, keys, "DBRNotifications.IsEOF()",
                    "Anzahl der Records nicht balanciert!");
        CDBTransaction snapshot(m_connection);
        for (DBNotification& element : keys)
            ReadNotification(element.NOTIFICATION_ID, element);
        snapshot.Commit();
        list = std::move(keys);
        return true;
    });
}

bool CDBConfigStore::GetNotification(int32_t nNotificationID, DBNotification& record) {
    DB_ASSERT(nNotificationID > 0, "NotificationID > 0", "NotificationID nicht gültig");
    if (nNotificationID <= 0)
        return false;
    return Guard("GetNotification", [&] { return ReadNotification(nNotificationID, record); });
}

bool CDBConfigStore::WriteNotification(DBNotification& work) {
    const bool bNew = work.NOTIFICATION_ID == DB_KEY_NEW;
    CDBTransaction transaction(m_connection);
    if (bNew) {
        work.NOTIFICATION_ID =
            static_cast<int32_t>(CDBRNotifications::Get().Insert(m_connection, work));
    } else if (!WriteDependent(m_connection, CDBRNotifications::Get(), false, work.NOTIFICATION_ID,
                               work, kNotificationNotFound)) {
        return false;
    }
    const int32_t nID = work.NOTIFICATION_ID;
    work.SMS.NOTIFICATION_ID = work.MSMail.NOTIFICATION_ID = work.Fax.NOTIFICATION_ID = nID;
    work.Printer.NOTIFICATION_ID = work.SMTP.NOTIFICATION_ID = work.SNMP.NOTIFICATION_ID = nID;
    const char* strNF = kNotificationNotFound;
    bool bWritten =
        WriteDependent(m_connection, CDBRNotificationsSMS::Get(), bNew, nID, work.SMS, strNF) &&
        WriteDependent(m_connection, CDBRNotificationsMSMail::Get(), bNew, nID, work.MSMail,
                       strNF) &&
        WriteDependent(m_connection, CDBRNotificationsFax::Get(), bNew, nID, work.Fax, strNF) &&
        WriteDependent(m_connection, CDBRNotificationsPrinter::Get(), bNew, nID, work.Printer,
                       strNF) &&
        WriteDependent(m_connection, CDBRNotificationsSMTP::Get(), bNew, nID, work.SMTP, strNF) &&
        WriteDependent(m_connection, CDBRNotificationsSNMP::Get(), bNew, nID, work.SNMP, strNF);
    if (!bWritten)
        return false;
    transaction.Commit();
    return true;
}

bool CDBConfigStore::SetNotification(DBNotification& record) {
    if (record.NOTIFICATION_ID != DB_KEY_NEW) {
        DB_ASSERT(record.Valid(), "DBNotification.Valid()", "DBNotification nicht gültig");
        if (!record.Valid())
            return false;
    }
    // The keys go back into the caller's record only once the rows are committed.
    DBNotification work = record;
    if (!Guard("SetNotification", [&] { return WriteNotification(work); }))
        return false;
    record = work;
    return true;
}

bool CDBConfigStore::DeleteNotification(int32_t nNotificationID) {
    DB_ASSERT(nNotificationID > 0, "NotificationID > 0", "NotificationID nicht gültig");
    if (nNotificationID <= 0)
        return false;
    return Guard("DeleteNotification", [&] {
        DeleteRows({"NOTIFICATIONS", "NOTIFICATIONS_SMS", "NOTIFICATIONS_MS_MAIL",
                    "NOTIFICATIONS_FAX", "NOTIFICATIONS_PRINTER", "NOTIFICATIONS_SMTP",
                    "NOTIFICATIONS_SNMP", "R_NOTIFY_PROFILE_NFCN"},
                   "NOTIFICATION_ID", nNotificationID);
        return true;
    });
}

// ---------------------------------------------------------------- auditions

bool CDBConfigStore::ReadAuditionDetail(DBAudition& record) {
    const int32_t nID = record.AUDITION_ID;
    const char* strNF = kAuditionNotFound;
    switch (static_cast<AuditionType>(record.AUDITION_TYPE)) {
    case AuditionType::App:
        return SeekDependent(m_connection, CDBRAuditionsApp::Get(), nID, record.App, strNF);
    case AuditionType::Service:
        return SeekDependent(m_connection, CDBRAuditionsService::Get(), nID, record.Service, strNF);
    case AuditionType::Logfile:
        return SeekDependent(m_connection, CDBRAuditionsLogfile::Get(), nID, record.Logfile, strNF);
    case AuditionType::NTEvtLog:
        return SeekDependent(m_connection, CDBRAuditionsNTEvtLog::Get(), nID, record.NTEvtLog,
                             strNF);
    case AuditionType::Net:
        return SeekDependent(m_connection, CDBRAuditionsNet::Get(), nID, record.Net, strNF);
    case AuditionType::Plugin:
        return SeekDependent(m_connection, CDBRAuditionsPlugin::Get(), nID, record.Plugin, strNF);
    }
    TARN_ASSERT_FAIL(kUnknownAuditionType);
    return false;
}

bool CDBConfigStore::ReadAudition(int32_t nAuditionID, DBAudition& record) {
    if (!SeekDependent(m_connection, CDBRAuditions::Get(), nAuditionID, record, kAuditionNotFound))
        return false;
    record.AgentComputer.clear();
    record.DetailsRead = ReadAuditionDetail(record);
    if (!record.DetailsRead)
        return false;
    const auto eType = static_cast<AuditionType>(record.AUDITION_TYPE);
    std::string strServerPath;
    switch (eType) {
    case AuditionType::App:
        strServerPath = record.App.SERVER_PATH;
        break;
    case AuditionType::Service:
        strServerPath = record.Service.SERVER_PATH;
        break;
    case AuditionType::NTEvtLog:
        strServerPath = record.NTEvtLog.SERVER_PATH;
        break;
    case AuditionType::Plugin:
        strServerPath = record.Plugin.SERVER_PATH;
        break;
    default:
        break;
    }
    record.AgentComputer = GetAgentComputer(eType, strServerPath);
    if (record.AgentComputer.empty())
        record.ACTION_SPECIAL_MASK |= ACTION_SPECIAL_NO_AGENT;
    return true;
}

bool CDBConfigStore::GetAllAuditions(DBAuditionList& list) {
    return Guard("GetAllAuditions", [&] {
        DBAuditionList keys;
        ReadAllRows(CDBRAuditions::Get(), "", {}, keys, "DBRAuditions.IsEOF()",
                    "Anzahl der Records nicht balanciert!");
        // A broken audition (missing detail row, unknown type) has been
        // reported and stays in the list as far as it could be read.
        CDBTransaction snapshot(m_connection);
        for (DBAudition& element : keys)
            ReadAudition(element.AUDITION_ID, element);
        snapshot.Commit();
        list = std::move(keys);
        return true;
    });
}

bool CDBConfigStore::GetAudition(int32_t nAuditionID, DBAudition& record) {
    DB_ASSERT(nAuditionID > 0, "AuditionID > 0", "AuditionID nicht gültig");
    if (nAuditionID <= 0)
        return false;
    return Guard("GetAudition", [&] { return ReadAudition(nAuditionID, record); });
}

bool CDBConfigStore::WriteAuditionDetail(DBAudition& work, bool bNew) {
    const int32_t nID = work.AUDITION_ID;
    const char* strNF = kAuditionNotFound;
    switch (static_cast<AuditionType>(work.AUDITION_TYPE)) {
    case AuditionType::App:
        work.App.AUDITION_ID = nID;
        return WriteDependent(m_connection, CDBRAuditionsApp::Get(), bNew, nID, work.App, strNF);
    case AuditionType::Service:
        work.Service.AUDITION_ID = nID;
        return WriteDependent(m_connection, CDBRAuditionsService::Get(), bNew, nID, work.Service,
                              strNF);
    case AuditionType::Logfile:
        work.Logfile.AUDITION_ID = nID;
        return WriteDependent(m_connection, CDBRAuditionsLogfile::Get(), bNew, nID, work.Logfile,
                              strNF);
    case AuditionType::NTEvtLog:
        work.NTEvtLog.AUDITION_ID = nID;
        return WriteDependent(m_connection, CDBRAuditionsNTEvtLog::Get(), bNew, nID, work.NTEvtLog,
                              strNF);
    case AuditionType::Net:
        work.Net.AUDITION_ID = nID;
        return WriteDependent(m_connection, CDBRAuditionsNet::Get(), bNew, nID, work.Net, strNF);
    case AuditionType::Plugin:
        work.Plugin.AUDITION_ID = nID;
        return WriteDependent(m_connection, CDBRAuditionsPlugin::Get(), bNew, nID, work.Plugin,
                              strNF);
    }
    return false;
}

bool CDBConfigStore::WriteAudition(DBAudition& work) {
    const bool bNew = work.AUDITION_ID == AUDITION_ID_NEW;
    CDBTransaction transaction(m_connection);
    if (bNew)
        work.AUDITION_ID = static_cast<int32_t>(CDBRAuditions::Get().Insert(m_connection, work));
    else if (!WriteDependent(m_connection, CDBRAuditions::Get(), false, work.AUDITION_ID, work,
                             kAuditionNotFound))
        return false;
    if (!WriteAuditionDetail(work, bNew))
        return false;
    transaction.Commit();
    return true;
}

bool CDBConfigStore::SetAudition(DBAudition& record) {
    if (record.AUDITION_ID != AUDITION_ID_NEW) {
        DB_ASSERT(record.AUDITION_ID > 0, "DBAudition.ID > 0", "DBAudition nicht gültig");
        if (record.AUDITION_ID <= 0)
            return false;
    }
    // An audition without its detail row would break every later read, so an
    // unknown type is refused before anything is written.
    if (!IsKnownAuditionType(record.AUDITION_TYPE)) {
        TARN_ASSERT_FAIL(kUnknownAuditionType);
        return false;
    }
    DBAudition work = record;
    if (!Guard("SetAudition", [&] { return WriteAudition(work); }))
        return false;
    record = work;
    return true;
}

bool CDBConfigStore::DeleteAudition(int32_t nAuditionID) {
    DB_ASSERT(nAuditionID > 0, "AuditionID > 0", "AuditionID nicht gültig");
    if (nAuditionID <= 0)
        return false;
    return Guard("DeleteAudition", [&] {
        DeleteRows({"AUDITIONS", "AUDITIONS_NET", "AUDITIONS_NTEVTLOG", "AUDITIONS_LOGFILE",
                    "AUDITIONS_SERVICE", "AUDITIONS_APP", "AUDITIONS_PLUGIN",
                    "R_AUDIT_NOTIFY_PROFILE"},
                   "AUDITION_ID", nAuditionID);
        return true;
    });
}

bool CDBConfigStore::IsAuditionValid(int32_t nAuditionID) {
    DB_ASSERT(nAuditionID > 0, "AuditionID > 0", "AuditionID nicht gültig");
    if (nAuditionID <= 0)
        return false;
    return Guard("IsAuditionValid", [&] {
        CDBStatement statement =
            m_connection.Prepare("SELECT 1 FROM AUDITIONS WHERE AUDITION_ID = ?");
        statement.BindInt(1, nAuditionID);
        return statement.Step();
    });
}

// ---------------------------------------------------------------- notify profiles

bool CDBConfigStore::GetAllNotifyProfiles(DBNotifyProfileList& list) {
    return Guard("GetAllNotifyProfiles", [&] {
        ReadAllRows(CDBRNotifyProfiles::Get(), "", {}, list, "DBRNotifyProfiles.IsEOF()",
                    "Anzahl der Records nicht balanciert");
        for (const DBNotifyProfile& element : list)
            DB_ASSERT(element.Valid(), "DBNotifyProfiles.Valid()", "DBNotifyProfiles nicht gültig");
        return true;
    });
}

bool CDBConfigStore::ReadProfile(int32_t nProfileID, DBNotifyProfile& record) {
    if (!SeekDependent(m_connection, CDBRNotifyProfiles::Get(), nProfileID, record,
                       "Profile ID nicht gefunden"))
        return false;
    DB_ASSERT(record.Valid(), "DBNotifyProfiles.Valid()", "DBNotifyProfiles nicht gültig");
    return record.Valid();
}

bool CDBConfigStore::GetNotifyProfile(int32_t nProfileID, DBNotifyProfile& record) {
    return Guard("GetNotifyProfile", [&] { return ReadProfile(nProfileID, record); });
}

bool CDBConfigStore::SetNotifyProfile(DBNotifyProfile& record) {
    if (record.PROFILE_ID != DB_KEY_NEW) {
        DB_ASSERT(record.Valid(), "DBNotifyProfiles.Valid()", "DBNotifyProfiles nicht gültig");
        if (!record.Valid())
            return false;
    }
    return Guard("SetNotifyProfile", [&] {
        if (record.PROFILE_ID == DB_KEY_NEW) {
            record.PROFILE_ID =
                static_cast<int32_t>(CDBRNotifyProfiles::Get().Insert(m_connection, record));
            return true;
        }
        return WriteDependent(m_connection, CDBRNotifyProfiles::Get(), false, record.PROFILE_ID,
                              record, "ProfileID nicht gefunden");
    });
}

bool CDBConfigStore::DeleteNotifyProfile(int32_t nProfileID) {
    DB_ASSERT(nProfileID > 0, "ProfileID > 0", "ProfileID nicht gültig");
    if (nProfileID <= 0)
        return false;
    return Guard("DeleteNotifyProfile", [&] {
        DeleteRows({"NOTIFY_PROFILES", "R_NOTIFY_PROFILE_NFCN", "R_AUDIT_NOTIFY_PROFILE"},
                   "PROFILE_ID", nProfileID);
        return true;
    });
}

// ---------------------------------------------------------------- ordered relations

void CDBConfigStore::WriteRelation(const std::string& strTable, const std::string& strOwnerColumn,
                                   int32_t nOwnerID, const DBKeyList& memberIDs) {
    const auto& binding =
        strTable == "R_NOTIFY_PROFILE_NFCN"
            ? static_cast<const CDBBinding<DBRelationRow>&>(CDBRRelNotifyProfileNfcn::Get())
            : CDBRRelAuditNotifyProfiles::Get();
    CDBTransaction transaction(m_connection);
    {
        CDBStatement statement =
            m_connection.Prepare("DELETE FROM " + strTable + " WHERE " + strOwnerColumn + " = ?");
        statement.BindInt(1, nOwnerID);
        statement.Execute();
    }
    DBRelationRow row;
    row.OwnerID = nOwnerID;
    for (int32_t nMemberID : memberIDs) {
        ++row.SequenceNr;
        row.MemberID = nMemberID;
        binding.Insert(m_connection, row);
    }
    transaction.Commit();
}

bool CDBConfigStore::GetNotifyProfileNotifications(int32_t nProfileID, DBKeyList& notificationIDs) {
    notificationIDs.clear();
    return Guard("GetNotifyProfileNotifications", [&] {
        notificationIDs = SelectKeys("SELECT NOTIFICATION_ID FROM R_NOTIFY_PROFILE_NFCN WHERE "
                                     "PROFILE_ID = ? ORDER BY SEQUENCE_NR, rowid",
                                     nProfileID);
        return true;
    });
}

bool CDBConfigStore::SetNotifyProfileNotifications(int32_t nProfileID,
                                                   const DBKeyList& notificationIDs) {
    return Guard("SetNotifyProfileNotifications", [&] {
        WriteRelation("R_NOTIFY_PROFILE_NFCN", "PROFILE_ID", nProfileID, notificationIDs);
        return true;
    });
}

bool CDBConfigStore::GetAuditNotifyProfiles(int32_t nAuditionID, DBKeyList& profileIDs) {
    profileIDs.clear();
    return Guard("GetAuditNotifyProfiles", [&] {
        profileIDs = SelectKeys("SELECT PROFILE_ID FROM R_AUDIT_NOTIFY_PROFILE WHERE "
                                "AUDITION_ID = ? ORDER BY SEQUENCE_NR, rowid",
                                nAuditionID);
        return true;
    });
}

bool CDBConfigStore::SetAuditNotifyProfiles(int32_t nAuditionID, const DBKeyList& profileIDs) {
    return Guard("SetAuditNotifyProfiles", [&] {
        WriteRelation("R_AUDIT_NOTIFY_PROFILE", "AUDITION_ID", nAuditionID, profileIDs);
        return true;
    });
}

// ---------------------------------------------------------------- one-row tables

bool CDBConfigStore::GetConfiguration(DBConfiguration& record) {
    return Guard("GetConfiguration", [&] {
        if (!CDBRConfiguration::Get().ReadFirstRow(m_connection, record))
            throw CDBException("no current record in CONFIGURATION");
        return true;
    });
}

bool CDBConfigStore::SetConfiguration(const DBConfiguration& record) {
    return Guard("SetConfiguration", [&] {
        if (!CDBRConfiguration::Get().UpdateFirstRow(m_connection, record))
            throw CDBException("no current record in CONFIGURATION");
        return true;
    });
}

// Each service table must hold exactly one row; every other count is reported.
bool CDBConfigStore::CheckServiceRowCounts() {
    int64_t nSMS = CDBRCfgNotifySrvSMS::Get().CountRows(m_connection);
    DB_ASSERT(nSMS == 1, "DBRCfgNotifySrvSMS.GetRecordCount() == 1",
              "Ungültiger Datensatz: CDBRCfgNotifySrvSMS");
    int64_t nMSMail = CDBRCfgNotifySrvMSMail::Get().CountRows(m_connection);
    DB_ASSERT(nMSMail == 1, "DBRCfgNotifySrvMSMail.GetRecordCount() == 1",
              "Ungültiger Datensatz: CDBRCfgNotifySrvMSMail");
    int64_t nFax = CDBRCfgNotifySrvFax::Get().CountRows(m_connection);
    DB_ASSERT(nFax == 1, "DBRCfgNotifySrvFax.GetRecordCount() == 1",
              "Ungültiger Datensatz: DBRCfgNotifySrvFax");
    int64_t nSMTP = CDBRCfgNotifySrvSMTP::Get().CountRows(m_connection);
    DB_ASSERT(nSMTP == 1, "DBRCfgNotifySrvSMTP.GetRecordCount() == 1",
              "Ungültiger Datensatz: DBRCfgNotifySrvSMTP");
    return nSMS == 1 && nMSMail == 1 && nFax == 1 && nSMTP == 1;
}

bool CDBConfigStore::GetNotifyServicesConfig(DBNotifySrvConfig& record) {
    return Guard("GetNotifyServicesConfig", [&] {
        CDBTransaction snapshot(m_connection);
        bool bValid = CheckServiceRowCounts();
        CDBRCfgNotifySrvSMS::Get().ReadFirstRow(m_connection, record);
        CDBRCfgNotifySrvMSMail::Get().ReadFirstRow(m_connection, record);
        CDBRCfgNotifySrvFax::Get().ReadFirstRow(m_connection, record);
        CDBRCfgNotifySrvSMTP::Get().ReadFirstRow(m_connection, record);
        snapshot.Commit();
        return bValid;
    });
}

bool CDBConfigStore::SetNotifyServicesConfig(const DBNotifySrvConfig& record) {
    return Guard("SetNotifyServicesConfig", [&] {
        CDBTransaction transaction(m_connection);
        // A table with no row or with several has no row that is "the" one
        // to change: nothing is written.
        if (!CheckServiceRowCounts())
            return false;
        CDBRCfgNotifySrvSMS::Get().UpdateFirstRow(m_connection, record);
        CDBRCfgNotifySrvMSMail::Get().UpdateFirstRow(m_connection, record);
        CDBRCfgNotifySrvFax::Get().UpdateFirstRow(m_connection, record);
        CDBRCfgNotifySrvSMTP::Get().UpdateFirstRow(m_connection, record);
        transaction.Commit();
        return true;
    });
}

// ---------------------------------------------------------------- plug-ins

bool CDBConfigStore::SetPlugin(const DBPlugin& record) {
    DB_ASSERT(record.Valid(), "DBPlugin.Valid()", "DBPlugin nicht gültig");
    if (!record.Valid())
        return false;
    return Guard("SetPlugin", [&] {
        const CDBRPlugins& binding = CDBRPlugins::Get();
        if (!binding.UpdateByKey(m_connection, record.PLUGIN_TYPE, record))
            binding.Insert(m_connection, record);
        return true;
    });
}

bool CDBConfigStore::GetAllPlugins(DBPluginList& list) {
    return Guard("GetAllPlugins", [&] {
        ReadAllRows(CDBRPlugins::Get(), "", {}, list, "DBRPlugins.IsEOF()",
                    "Anzahl der Records nicht balanciert!");
        return true;
    });
}

bool CDBConfigStore::DeletePlugin(const DBPlugin& record) {
    DB_ASSERT(record.Valid(), "DBPlugin.Valid()", "DBPlugin nicht gültig");
    if (!record.Valid())
        return false;
    return Guard("DeletePlugin", [&] {
        DeleteRows({"PLUGINS"}, "PLUGIN_TYPE", record.PLUGIN_TYPE);
        return true;
    });
}

// ---------------------------------------------------------------- schema version

int32_t CDBConfigStore::ReadVersion() {
    return ReadDBVersion(m_connection);
}

bool CDBConfigStore::SetDBVersionApp(int32_t nVersion) {
    return Guard("SetDBVersionApp", [&] {
        CDBStatement statement = m_connection.Prepare(
            "UPDATE A_SYSTEM SET DB_VERSION = ? WHERE rowid = (SELECT MIN(rowid) FROM A_SYSTEM)");
        statement.BindInt(1, nVersion);
        statement.Execute();
        if (m_connection.Changes() == 0)
            throw CDBException("no current record in A_SYSTEM");
        return true;
    });
}
