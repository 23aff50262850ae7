// Binding of the table NOTIFICATIONS_FAX: fax channel row of a notification.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRNotificationsFax final : public CDBBinding<DBNotificationFax> {
public:
    static const CDBRNotificationsFax& Get() {
        static const CDBRNotificationsFax binding;
        return binding;
    }

private:
    using R = DBNotificationFax;

    CDBRNotificationsFax()
        : CDBBinding("NOTIFICATIONS_FAX", "NOTIFICATION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("NOTIFICATION_ID", &R::NOTIFICATION_ID),
                         Long("ACTIVE_BEGIN", &R::ACTIVE_BEGIN),
                         Long("ACTIVE_END", &R::ACTIVE_END),
                         Text("FAXTEXT", &R::FAXTEXT),
                         Text("RECIPIENT", &R::RECIPIENT),
                     }) {}
};
