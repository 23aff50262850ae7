// Binding of the table NOTIFY_SERVICE_CFG_MSMAIL: the MS-Mail service settings (one row).
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRCfgNotifySrvMSMail final : public CDBBinding<DBNotifySrvConfig> {
public:
    static const CDBRCfgNotifySrvMSMail& Get() {
        static const CDBRCfgNotifySrvMSMail binding;
        return binding;
    }

private:
    using R = DBNotifySrvConfig;

    CDBRCfgNotifySrvMSMail()
        : CDBBinding("NOTIFY_SERVICE_CFG_MSMAIL", "", DBIndexKind::None,
                     {
                         Text("LOGON_PROFILE", &R::MSMAIL_LOGON_PROFILE),
                         Text("LOGON_PROFILE_PASSWORD", &R::MSMAIL_LOGON_PROFILE_PASSWORD),
                     }) {}
};
