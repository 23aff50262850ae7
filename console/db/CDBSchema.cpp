#include "CDBSchema.h"

#include "CDBHREvents.h"
#include "CDBHRProblems.h"
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
#include "CDBTransaction.h"
#include "tarn/SmsCentreNumbers.h"

#include <unistd.h>

std::vector<const CDBTable*> CDBSchema::ConfigurationTables() {
    return {&CDBRConfiguration::Get(),
            &CDBRAuditions::Get(),
            &CDBRAuditionsApp::Get(),
            &CDBRAuditionsService::Get(),
            &CDBRAuditionsLogfile::Get(),
            &CDBRAuditionsNTEvtLog::Get(),
            &CDBRAuditionsNet::Get(),
            &CDBRAuditionsPlugin::Get(),
            &CDBRNotifications::Get(),
            &CDBRNotificationsSMS::Get(),
            &CDBRNotificationsMSMail::Get(),
            &CDBRNotificationsFax::Get(),
            &CDBRNotificationsPrinter::Get(),
            &CDBRNotificationsSMTP::Get(),
            &CDBRNotificationsSNMP::Get(),
            &CDBRNotifyProfiles::Get(),
            &CDBRRelNotifyProfileNfcn::Get(),
            &CDBRRelAuditNotifyProfiles::Get(),
            &CDBRPlugins::Get(),
            &CDBRCfgNotifySrvFax::Get(),
            &CDBRCfgNotifySrvMSMail::Get(),
            &CDBRCfgNotifySrvSMS::Get(),
            &CDBRCfgNotifySrvSMTP::Get()};
}

std::vector<const CDBTable*> CDBSchema::HistoryTables() {
    return {&CDBHRProblems::Get(), &CDBHREvents::Get()};
}

DBNotifySrvConfig CDBSchema::DefaultNotifyServicesConfig() {
    DBNotifySrvConfig services;
    services.SMS_RETRIES = 3;
    services.SMS_GATEWAY_D1 = kSmsCentreD1;
    services.SMS_GATEWAY_D2 = kSmsCentreD2;
    services.SMS_GATEWAY_EPLUS = kSmsCentreEPlus;
    services.SMS_GATEWAY_QUIX = kSmsCentreQuix;
    services.SMS_GATEWAY_NATEL_D = kSmsCentreNatelD;
    services.FAX_RETRIES = 3;
    services.FAX_MODEM_INIT_STRING = "ATZ";
    services.FAX_COM_PORT = 1;
    services.SMTP_MAILSERVER = "localhost";
    return services;
}

void CDBSchema::CreateTables(CDBConnection& connection, const std::vector<const CDBTable*>& tables,
                             int32_t nVersion) {
    connection.Execute("CREATE TABLE A_SYSTEM (\"DB_VERSION\" INTEGER)");
    connection.Execute("INSERT INTO A_SYSTEM (DB_VERSION) VALUES (" + std::to_string(nVersion) +
                       ")");
    for (const CDBTable* pTable : tables) {
        connection.Execute(pTable->CreateTableSQL());
        std::string strIndex = pTable->CreateIndexSQL();
        if (!strIndex.empty())
            connection.Execute(strIndex);
        for (const std::string& strLookup : pTable->CreateLookupIndexSQL())
            connection.Execute(strLookup);
    }
}

namespace {

// Creates the file and runs fill on it in one transaction; on any failure the
// new file is removed again.
template <class Fill>
bool CreateFile(const std::string& strPath, std::string& strError, Fill&& fill) {
    auto pConnection = CDBConnection::CreateNew(strPath, strError);
    if (!pConnection)
        return false;
    try {
        CDBTransaction transaction(*pConnection);
        fill(*pConnection);
        transaction.Commit();
        return true;
    } catch (const CDBException& error) {
        strError = error.what();
    }
    pConnection.reset();
    ::unlink(strPath.c_str());
    ::unlink((strPath + "-journal").c_str());
    return false;
}

} // namespace

bool CDBSchema::CreateConfigurationFile(const std::string& strPath,
                                        const DBConfiguration& configuration,
                                        const DBNotifySrvConfig& services, std::string& strError) {
    return CreateFile(strPath, strError, [&](CDBConnection& connection) {
        CreateTables(connection, ConfigurationTables(), kConfigVersion);
        CDBRConfiguration::Get().Insert(connection, configuration);
        CDBRCfgNotifySrvSMS::Get().Insert(connection, services);
        CDBRCfgNotifySrvMSMail::Get().Insert(connection, services);
        CDBRCfgNotifySrvFax::Get().Insert(connection, services);
        CDBRCfgNotifySrvSMTP::Get().Insert(connection, services);
    });
}

bool CDBSchema::CreateHistoryFile(const std::string& strPath, std::string& strError) {
    return CreateFile(strPath, strError, [&](CDBConnection& connection) {
        CreateTables(connection, HistoryTables(), kHistoryVersion);
    });
}
