// The whole configuration of an installation in memory: what a
// configuration file holds. Relations refer to records by their keys.
#pragma once

#include "DBRecords.h"

#include <map>

struct ConfigSnapshot {
    DBConfiguration settings;
    DBNotifySrvConfig services;
    DBPluginList plugins;
    DBNotificationList notifications;
    DBNotifyProfileList profiles;
    std::map<int32_t, DBKeyList> profileNotifications; // profile key → notification keys in order
    DBAuditionList auditions;
    std::map<int32_t, DBKeyList> auditionProfiles; // audition key → profile keys
};
