// The request codes of the database thread and the block through which a
// request's arguments and results pass. The front writes the block before a
// request and reads it after; the database thread reads and writes it only
// while that one caller waits, so the block needs no lock of its own.
#pragma once

#include "DBRecords.h"

#include <string>

enum DBRequestCode : int {
    DB_REQUEST_OPEN = 1,
    DB_REQUEST_CLOSE = 2,
    DB_REQUEST_GET_DB_VERSIONS = 3,
    DB_REQUEST_END_THREAD = 4,
    DB_REQUEST_GET_ALL_NOTIFICATIONS = 100,
    DB_REQUEST_GET_NOTIFICATION = 101,
    DB_REQUEST_SET_NOTIFICATION = 102,
    DB_REQUEST_DELETE_NOTIFICATION = 103,
    DB_REQUEST_GET_ALL_AUDITIONS = 104,
    DB_REQUEST_GET_AUDITION = 105,
    DB_REQUEST_SET_AUDITION = 106,
    DB_REQUEST_DELETE_AUDITION = 107,
    DB_REQUEST_IS_AUDITION_VALID = 108,
    DB_REQUEST_GET_ALL_NOTIFY_PROFILES = 109,
    DB_REQUEST_GET_NOTIFY_PROFILE = 110,
    DB_REQUEST_SET_NOTIFY_PROFILE = 111,
    DB_REQUEST_DELETE_NOTIFY_PROFILE = 112,
    DB_REQUEST_GET_CONFIGURATION = 113,
    DB_REQUEST_SET_CONFIGURATION = 114,
    DB_REQUEST_GET_NOTIFY_SERVICES_CONFIG = 115,
    DB_REQUEST_SET_NOTIFY_SERVICES_CONFIG = 116,
    DB_REQUEST_GET_NOTIFY_PROFILE_NOTIFICATIONS = 117,
    DB_REQUEST_SET_NOTIFY_PROFILE_NOTIFICATIONS = 118,
    DB_REQUEST_GET_AUDIT_NOTIFY_PROFILES = 119,
    DB_REQUEST_SET_AUDIT_NOTIFY_PROFILES = 120,
    DB_REQUEST_CONVERT_DATABASE = 121,
    DB_REQUEST_SET_PLUGIN = 122,
    DB_REQUEST_GET_ALL_PLUGINS = 123,
    DB_REQUEST_DELETE_PLUGIN = 124,
    DB_REQUEST_SET_EVENT_ENTRY = 200,
    DB_REQUEST_GET_EVENT_ENTRY = 201,
    DB_REQUEST_GET_PROBLEM_EVENT_ENTRIES = 202,
    DB_REQUEST_SET_PROBLEM = 203,
    DB_REQUEST_GET_PROBLEM = 204,
    DB_REQUEST_GET_ALL_PROBLEMS = 205,
    DB_REQUEST_DELETE_PROBLEM = 206,
};

// Record and list slots point to objects owned by the waiting caller.
struct DBRequestBlock {
    // engine
    std::string strConfigPath;
    std::string strHistoryPath;
    bool bConfigOpened = false;
    bool bHistoryOpened = false;
    int32_t nConfigVersion = 0;
    int32_t nHistoryVersion = 0;
    bool bOpenResult = false;

    // configuration
    int32_t nNotificationID = 0;
    DBNotification* pNotification = nullptr;
    DBNotificationList* pNotificationList = nullptr;
    DBKeyList* pNotificationKeys = nullptr;         // read
    const DBKeyList* pNotificationKeysIn = nullptr; // stored
    int32_t nAuditionID = 0;
    DBAudition* pAudition = nullptr;
    DBAuditionList* pAuditionList = nullptr;
    int32_t nProfileID = 0;
    DBNotifyProfile* pProfile = nullptr;
    DBNotifyProfileList* pProfileList = nullptr;
    DBKeyList* pProfileKeys = nullptr;         // read
    const DBKeyList* pProfileKeysIn = nullptr; // stored
    const DBPlugin* pPlugin = nullptr;
    DBPluginList* pPluginList = nullptr;
    DBConfiguration* pConfiguration = nullptr;         // read
    const DBConfiguration* pConfigurationIn = nullptr; // stored
    DBNotifySrvConfig* pServices = nullptr;
    DBNotifySrvConfig services; // the copy that SetNotifyServicesConfig stores
    int32_t nTargetVersion = 0;
    bool bConfigResult = false;

    // history
    int32_t nEventID = 0;
    DBHEvent* pEvent = nullptr;
    DBHEventList* pEventList = nullptr;
    int32_t nProblemID = 0;
    DBHProblem* pProblem = nullptr;
    DBHProblemList* pProblemList = nullptr;
    int32_t nStatusFilter = 0;
    int32_t nAuditionFilter = 0;
    bool bHistoryResult = false;
};
