// Binding of the table NOTIFY_SERVICE_CFG_FAX: the fax service settings (one row).
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRCfgNotifySrvFax final : public CDBBinding<DBNotifySrvConfig> {
public:
    static const CDBRCfgNotifySrvFax& Get() {
        static const CDBRCfgNotifySrvFax binding;
        return binding;
    }

private:
    using R = DBNotifySrvConfig;

    CDBRCfgNotifySrvFax()
        : CDBBinding("NOTIFY_SERVICE_CFG_FAX", "", DBIndexKind::None,
                     {
                         Text("DIAL_PREFIX", &R::FAX_DIAL_PREFIX),
                         Long("RETRIES", &R::FAX_RETRIES),
                         Long("COM_PORT", &R::FAX_COM_PORT),
                         Text("MODEM_INIT_STRING", &R::FAX_MODEM_INIT_STRING),
                         Short("DIAL_TYPE", &R::FAX_DIAL_TYPE),
                     }) {}
};
