#include "NotificationCaches.h"

#include <algorithm>

void CNotificationCaches::Reload(CDBEngineTARN& database) {
    DBNotifyProfileList profiles;
    DBNotificationList notifications;
    DBNotifySrvConfig services;
    if (!database.GetAllNotifyProfiles(profiles))
        profiles.clear();
    if (!database.GetAllNotifications(notifications))
        notifications.clear();
    if (!database.GetNotifyServicesConfig(services))
        services = DBNotifySrvConfig();

    std::lock_guard guard(m_configurationLock);
    m_profiles = std::move(profiles);
    m_notifications = std::move(notifications);
    m_services = std::move(services);
}

bool CNotificationCaches::FindProfile(int32_t nProfileID, DBNotifyProfile& profile) const {
    std::lock_guard guard(m_configurationLock);
    auto found = std::find_if(m_profiles.begin(), m_profiles.end(),
                              [&](const DBNotifyProfile& p) { return p.PROFILE_ID == nProfileID; });
    if (found == m_profiles.end())
        return false;
    profile = *found;
    return true;
}

bool CNotificationCaches::FindNotification(int32_t nNotificationID,
                                           DBNotification& notification) const {
    std::lock_guard guard(m_configurationLock);
    auto found =
        std::find_if(m_notifications.begin(), m_notifications.end(),
                     [&](const DBNotification& n) { return n.NOTIFICATION_ID == nNotificationID; });
    if (found == m_notifications.end())
        return false;
    notification = *found;
    return true;
}

DBNotifySrvConfig CNotificationCaches::GetServiceSettings() const {
    std::lock_guard guard(m_configurationLock);
    return m_services;
}
