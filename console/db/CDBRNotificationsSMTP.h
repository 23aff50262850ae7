// Binding of the table NOTIFICATIONS_SMTP: Internet mail channel row of a notification.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRNotificationsSMTP final : public CDBBinding<DBNotificationSMTP> {
public:
    static const CDBRNotificationsSMTP& Get() {
        static const CDBRNotificationsSMTP binding;
        return binding;
    }

private:
    using R = DBNotificationSMTP;

    CDBRNotificationsSMTP()
        : CDBBinding("NOTIFICATIONS_SMTP", "NOTIFICATION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("NOTIFICATION_ID", &R::NOTIFICATION_ID),
                         Long("ACTIVE_BEGIN", &R::ACTIVE_BEGIN, "0"),
                         Long("ACTIVE_END", &R::ACTIVE_END, "24"),
                         Text("RECIPIENTS", &R::RECIPIENTS),
                         Text("MAILTEXT", &R::MAILTEXT),
                     }) {}
};
