// Binding of the table NOTIFY_SERVICE_CFG_SMTP: the Internet mail service settings (one row).
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRCfgNotifySrvSMTP final : public CDBBinding<DBNotifySrvConfig> {
public:
    static const CDBRCfgNotifySrvSMTP& Get() {
        static const CDBRCfgNotifySrvSMTP binding;
        return binding;
    }

private:
    using R = DBNotifySrvConfig;

    CDBRCfgNotifySrvSMTP()
        : CDBBinding("NOTIFY_SERVICE_CFG_SMTP", "", DBIndexKind::None,
                     {
                         Text("MAILSERVER", &R::SMTP_MAILSERVER),
                         Text("SENDER", &R::SMTP_SENDER),
                     }) {}
};
