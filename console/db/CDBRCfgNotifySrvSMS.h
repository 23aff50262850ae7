// Binding of the table NOTIFY_SERVICE_CFG_SMS: the SMS service settings (one row); the SMS centre
// numbers default to the networks' dial-in numbers.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"
#include "tarn/SmsCentreNumbers.h"

class CDBRCfgNotifySrvSMS final : public CDBBinding<DBNotifySrvConfig> {
public:
    static const CDBRCfgNotifySrvSMS& Get() {
        static const CDBRCfgNotifySrvSMS binding;
        return binding;
    }

private:
    using R = DBNotifySrvConfig;

    static std::string Quoted(const char* text) { return std::string("'") + text + "'"; }

    CDBRCfgNotifySrvSMS()
        : CDBBinding(
              "NOTIFY_SERVICE_CFG_SMS", "", DBIndexKind::None,
              {
                  Text("DIAL_PREFIX", &R::SMS_DIAL_PREFIX),
                  Long("RETRIES", &R::SMS_RETRIES),
                  Text("GATEWAY_D1", &R::SMS_GATEWAY_D1, 100, Quoted(kSmsCentreD1)),
                  Text("GATEWAY_D2", &R::SMS_GATEWAY_D2, 100, Quoted(kSmsCentreD2)),
                  Text("GATEWAY_EPLUS", &R::SMS_GATEWAY_EPLUS, 100, Quoted(kSmsCentreEPlus)),
                  Text("GATEWAY_NATEL_D", &R::SMS_GATEWAY_NATEL_D, 100, Quoted(kSmsCentreNatelD)),
                  Text("GATEWAY_QUIX", &R::SMS_GATEWAY_QUIX, 100, Quoted(kSmsCentreQuix)),
              }) {}
};
