// Binding of the table NOTIFICATIONS_SMS: SMS channel row of a notification.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRNotificationsSMS final : public CDBBinding<DBNotificationSMS> {
public:
    static const CDBRNotificationsSMS& Get() {
        static const CDBRNotificationsSMS binding;
        return binding;
    }

private:
    using R = DBNotificationSMS;

    CDBRNotificationsSMS()
        : CDBBinding("NOTIFICATIONS_SMS", "NOTIFICATION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("NOTIFICATION_ID", &R::NOTIFICATION_ID),
                         Long("ACTIVE_BEGIN", &R::ACTIVE_BEGIN),
                         Long("ACTIVE_END", &R::ACTIVE_END),
                         Text("RECIPIENT", &R::RECIPIENT),
                         Text("SENDERINFO", &R::SENDERINFO),
                     }) {}
};
