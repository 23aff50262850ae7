#include "CDBConverter.h"

#include "CDBRAuditionsNTEvtLog.h"
#include "CDBRAuditionsNet.h"
#include "CDBRAuditionsPlugin.h"
#include "CDBRAuditionsService.h"
#include "CDBRCfgNotifySrvSMS.h"
#include "CDBRCfgNotifySrvSMTP.h"
#include "CDBRNotifications.h"
#include "CDBRNotificationsSMTP.h"
#include "CDBRNotificationsSNMP.h"
#include "CDBRPlugins.h"
#include "CDBSchema.h"
#include "CDBTransaction.h"
#include "DBMessages.h"
#include "MessageIds.h"
#include "StringTable.h"

#include <algorithm>
#include <thread>

CDBConverter::CDBConverter(CDBConfigStore& store, IDBReporter& reporter,
                           std::chrono::milliseconds pause)
    : m_store(store), m_reporter(reporter), m_pause(pause) {}

void CDBConverter::Pause() const {
    if (m_pause.count() > 0)
        std::this_thread::sleep_for(m_pause);
}

bool CDBConverter::ExecuteSQL(const std::string& strSQL) {
    try {
        m_store.Connection().Execute(strSQL);
        return true;
    } catch (const CDBException& error) {
        if (m_strError.empty())
            m_strError = error.what();
        return false;
    }
}

bool CDBConverter::AddColumn(const CDBTable& table, const std::string& strColumn) {
    const DBColumnDef* pColumn = table.FindColumn(strColumn);
    if (!pColumn)
        return false;
    if (!ExecuteSQL("ALTER TABLE " + table.Name() + " ADD COLUMN " + CDBTable::ColumnSQL(*pColumn)))
        return false;
    // Every existing row holds the default, not just reads it.
    return pColumn->Default.empty() || ExecuteSQL("UPDATE " + table.Name() + " SET " +
                                                  pColumn->Name + " = " + pColumn->Default);
}

bool CDBConverter::AddTable(const CDBTable& table, const std::vector<std::string>& columns) {
    try {
        return ExecuteSQL(table.CreateTableSQL(columns));
    } catch (const CDBException& error) {
        m_strError = error.what();
        return false;
    }
}

bool CDBConverter::AddEmptyRow(const CDBTable& table) {
    return ExecuteSQL("INSERT INTO " + table.Name() + " DEFAULT VALUES");
}

bool CDBConverter::AddPrimaryIndex(const CDBTable& table) {
    return ExecuteSQL("CREATE UNIQUE INDEX \"" + table.IndexName() + "\" ON " + table.Name() +
                      " (" + table.KeyColumn() + ")");
}

bool CDBConverter::RunStep(int32_t nVersion) {
    switch (nVersion) {
    case 3: {
        const CDBTable& smtp = CDBRNotificationsSMTP::Get();
        return AddColumn(CDBRNotifications::Get(), "SMTP_ACTIVE") &&
               AddColumn(CDBRAuditionsNet::Get(), "TIMEOUT") &&
               AddTable(CDBRCfgNotifySrvSMTP::Get(), {"MAILSERVER", "SENDER"}) &&
               AddEmptyRow(CDBRCfgNotifySrvSMTP::Get()) &&
               AddColumn(CDBRAuditionsNTEvtLog::Get(), "FILTER_SOURCE") &&
               AddColumn(CDBRAuditionsNTEvtLog::Get(), "FILTER_ID") &&
               AddTable(smtp, {"NOTIFICATION_ID", "ACTIVE_BEGIN", "ACTIVE_END", "RECIPIENTS",
                               "MAILTEXT"}) &&
               AddPrimaryIndex(smtp) &&
               ExecuteSQL("INSERT INTO NOTIFICATIONS_SMTP ( NOTIFICATION_ID ) SELECT DISTINCT "
                          "NOTIFICATIONS.NOTIFICATION_ID FROM NOTIFICATIONS");
    }
    case 4:
        return AddTable(CDBRPlugins::Get(), {"PLUGIN_NAME", "PLUGIN_TYPE", "PLUGIN_MODULE"}) &&
               AddColumn(CDBRAuditionsService::Get(), "SERVICE_DISPLAYNAME") &&
               AddTable(CDBRAuditionsPlugin::Get(),
                        {"AUDITION_ID", "SERVER_PATH", "PLUGIN_TYPE", "PLUGIN_NAME"}) &&
               AddPrimaryIndex(CDBRAuditionsPlugin::Get());
    case 5:
        return AddColumn(CDBRAuditionsNTEvtLog::Get(), "FILTER_TYPE");
    case 6:
        return AddColumn(CDBRAuditionsNet::Get(), "IP_ADDRESS");
    case 7: {
        const CDBTable& snmp = CDBRNotificationsSNMP::Get();
        return AddColumn(CDBRNotifications::Get(), "SNMP_ACTIVE") &&
               AddTable(snmp,
                        {"NOTIFICATION_ID", "ACTIVE_BEGIN", "ACTIVE_END", "DESTINATION",
                         "COMMUNITY", "ENTERPRISE", "VARIABLE_ID", "GENERIC_ID", "SPECIFIC_ID"}) &&
               AddPrimaryIndex(snmp) &&
               ExecuteSQL("INSERT INTO NOTIFICATIONS_SNMP ( NOTIFICATION_ID ) SELECT DISTINCT "
                          "NOTIFICATIONS.NOTIFICATION_ID FROM NOTIFICATIONS");
    }
    case 8: {
        const CDBTable& sms = CDBRCfgNotifySrvSMS::Get();
        return AddColumn(CDBRAuditionsNet::Get(), "CHECK_INTERVAL") &&
               AddColumn(sms, "GATEWAY_D1") && AddColumn(sms, "GATEWAY_D2") &&
               AddColumn(sms, "GATEWAY_EPLUS") && AddColumn(sms, "GATEWAY_QUIX") &&
               AddColumn(sms, "GATEWAY_NATEL_D");
    }
    case 9:
        return AddColumn(CDBRNotificationsSNMP::Get(), "SPECIFIC_ID_RESOLVED") &&
               AddColumn(CDBRNotificationsSNMP::Get(), "SPECIFIC_ID_UNRESOLVED");
    default:
        return false; // no step from this version
    }
}

bool CDBConverter::RunSteps(int32_t nCurrent, int32_t nTargetVersion) {
    Pause();
    bool bSuccess = true;
    for (int32_t nVersion = nCurrent; bSuccess && nVersion < nTargetVersion; ++nVersion) {
        m_reporter.StepProgress(nVersion - nCurrent + 1);
        Pause();
        bSuccess = RunStep(nVersion) && m_store.SetDBVersionApp(nVersion + 1);
    }
    return bSuccess && m_store.ReadVersion() == nTargetVersion;
}

bool CDBConverter::ConvertDatabase(int32_t nTargetVersion) {
    if (nTargetVersion > CDBSchema::kConfigVersion)
        return false;
    m_strError.clear();
    int32_t nCurrent = 0;
    try {
        nCurrent = m_store.ReadVersion();
    } catch (const CDBException& error) {
        ReportDBError(m_reporter, "ConvertDatabase", error.what());
        return false;
    }
    m_reporter.BeginProgress(LoadTarnString(IDS_DB_CONVERTING),
                             std::max(0, nTargetVersion - nCurrent));
    bool bSuccess = false;
    try {
        CDBTransaction transaction(m_store.Connection());
        bSuccess = RunSteps(nCurrent, nTargetVersion);
        if (bSuccess)
            transaction.Commit();
    } catch (const CDBException& error) {
        bSuccess = false;
        m_strError = error.what();
    }
    m_reporter.EndProgress();
    if (!bSuccess && !m_strError.empty())
        ReportDBError(m_reporter, "ConvertDatabase", m_strError);
    return bSuccess;
}
