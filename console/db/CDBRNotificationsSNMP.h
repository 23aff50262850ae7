// Binding of the table NOTIFICATIONS_SNMP: SNMP channel row of a notification; DESTINATION,
// COMMUNITY and GENERIC_ID keep their defaults.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRNotificationsSNMP final : public CDBBinding<DBNotificationSNMP> {
public:
    static const CDBRNotificationsSNMP& Get() {
        static const CDBRNotificationsSNMP binding;
        return binding;
    }

private:
    using R = DBNotificationSNMP;

    CDBRNotificationsSNMP()
        : CDBBinding("NOTIFICATIONS_SNMP", "NOTIFICATION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("NOTIFICATION_ID", &R::NOTIFICATION_ID),
                         Long("ACTIVE_BEGIN", &R::ACTIVE_BEGIN, "0"),
                         Long("ACTIVE_END", &R::ACTIVE_END, "24"),
                         Unbound({"DESTINATION", DBColumnType::Text, 255, ""}),
                         Unbound({"COMMUNITY", DBColumnType::Text, 255, ""}),
                         Text("ENTERPRISE", &R::ENTERPRISE),
                         Unbound({"GENERIC_ID", DBColumnType::Long, 0, "6"}),
                         Long("SPECIFIC_ID", &R::SPECIFIC_ID, "1"),
                         Text("VARIABLE_ID", &R::VARIABLE_ID),
                         Long("SPECIFIC_ID_RESOLVED", &R::SPECIFIC_ID_RESOLVED, "2"),
                         Long("SPECIFIC_ID_UNRESOLVED", &R::SPECIFIC_ID_UNRESOLVED, "3"),
                     }) {}
};
