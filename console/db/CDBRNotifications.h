// Binding of the table NOTIFICATIONS: one row per notification.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRNotifications final : public CDBBinding<DBNotification> {
public:
    static const CDBRNotifications& Get() {
        static const CDBRNotifications binding;
        return binding;
    }

private:
    using R = DBNotification;

    CDBRNotifications()
        : CDBBinding("NOTIFICATIONS", "NOTIFICATION_ID", DBIndexKind::None,
                     {
                         AutoNumber("NOTIFICATION_ID", &R::NOTIFICATION_ID),
                         Text("DESCRIPTION", &R::DESCRIPTION),
                         Bool("SMS_ACTIVE", &R::SMS_ACTIVE),
                         Bool("MSMAIL_ACTIVE", &R::MSMAIL_ACTIVE),
                         Bool("FAX_ACTIVE", &R::FAX_ACTIVE),
                         Bool("PRINTER_ACTIVE", &R::PRINTER_ACTIVE),
                         Text("NAME", &R::NAME),
                         Bool("SMTP_ACTIVE", &R::SMTP_ACTIVE, "0"),
                         Bool("SNMP_ACTIVE", &R::SNMP_ACTIVE, "0"),
                     }) {}
};
