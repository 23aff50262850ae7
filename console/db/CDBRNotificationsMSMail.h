// Binding of the table NOTIFICATIONS_MS_MAIL: MS-Mail channel row of a notification.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRNotificationsMSMail final : public CDBBinding<DBNotificationMSMail> {
public:
    static const CDBRNotificationsMSMail& Get() {
        static const CDBRNotificationsMSMail binding;
        return binding;
    }

private:
    using R = DBNotificationMSMail;

    CDBRNotificationsMSMail()
        : CDBBinding("NOTIFICATIONS_MS_MAIL", "NOTIFICATION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("NOTIFICATION_ID", &R::NOTIFICATION_ID),
                         Long("ACTIVE_BEGIN", &R::ACTIVE_BEGIN),
                         Long("ACTIVE_END", &R::ACTIVE_END),
                         Text("MAILTEXT", &R::MAILTEXT),
                         Text("RECIPIENTS", &R::RECIPIENTS),
                     }) {}
};
