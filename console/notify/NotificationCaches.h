// The console's copies of the notify profiles, the notifications and the
// notification service settings, replaced as a whole under the configuration
// lock and read as copies.
#pragma once

#include "CDBEngineTARN.h"
#include "DBRecords.h"

#include <mutex>

class CNotificationCaches {
public:
    // Reads the three tables afresh; a table that cannot be read leaves its
    // cache empty (the database thread has reported why).
    void Reload(CDBEngineTARN& database);

    bool FindProfile(int32_t nProfileID, DBNotifyProfile& profile) const;
    bool FindNotification(int32_t nNotificationID, DBNotification& notification) const;
    // A copy of the service settings.
    DBNotifySrvConfig GetServiceSettings() const;

private:
    mutable std::mutex m_configurationLock;
    DBNotifyProfileList m_profiles;
    DBNotificationList m_notifications;
    DBNotifySrvConfig m_services;
};
