// The rules of the notification and notify profile editors: the fields of a
// notification (main row and six channel rows) and of a profile with their
// limits, a new notification's defaults and the required names.
//
// Channel fields are named "<CHANNEL>.<COLUMN>" ("SMS.RECIPIENT",
// "SNMP.SPECIFIC_ID"), the main row's by their column ("NAME", "SMS_ACTIVE"),
// so that one table serves every page of the notification sheet.
#pragma once

#include "ConfigField.h"
#include "DBRecords.h"

class CNotificationRules {
public:
    static const ConfigFieldTable<DBNotification>& Fields();
    static const ConfigFieldTable<DBNotifyProfile>& ProfileFields();

    // A new notification: key DB_KEY_NEW, every channel off and always
    // active (0 to 24), the SNMP defaults.
    static DBNotification NewNotification();

    // Every refused field; an empty name gives message 1014.
    static ConfigErrors Check(const DBNotification& record);
    // Every refused field; an empty name gives message 1013.
    static ConfigErrors CheckProfile(const DBNotifyProfile& record);
};
