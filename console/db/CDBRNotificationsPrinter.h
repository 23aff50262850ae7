// Binding of the table NOTIFICATIONS_PRINTER: printer channel row of a notification.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRNotificationsPrinter final : public CDBBinding<DBNotificationPrinter> {
public:
    static const CDBRNotificationsPrinter& Get() {
        static const CDBRNotificationsPrinter binding;
        return binding;
    }

private:
    using R = DBNotificationPrinter;

    CDBRNotificationsPrinter()
        : CDBBinding("NOTIFICATIONS_PRINTER", "NOTIFICATION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("NOTIFICATION_ID", &R::NOTIFICATION_ID),
                         Long("ACTIVE_BEGIN", &R::ACTIVE_BEGIN),
                         Long("ACTIVE_END", &R::ACTIVE_END),
                         Text("PRINTERNAME", &R::PRINTERNAME),
                         Text("PRINTERTEXT", &R::PRINTERTEXT),
                         Text("DRIVERNAME", &R::DRIVERNAME),
                     }) {}
};
