// tarn-admin profile: list, show, add, change and remove notify profiles, and
// set a profile's notifications in their sending order.
#include "AdminSession.h"

#include "CNotificationRules.h"
#include "FieldText.h"

#include <algorithm>

namespace {

int Usage() {
    std::cerr << "usage: tarn-admin profile list | show ID | add [FIELD=VALUE...] |\n"
                 "       set ID FIELD=VALUE... | remove ID | notifications ID [N1,N2,...]\n"
                 "       [--home DIR] [--json]\n";
    return 2;
}

bool Read(CDBEngineTARN& database, const std::string& word, DBNotifyProfile& profile) {
    int32_t key = 0;
    if (!ParseKey(word, key))
        return false;
    if (!database.GetNotifyProfile(key, profile) || !profile.Valid()) {
        std::cerr << "tarn-admin: no notify profile " << word << "\n";
        return false;
    }
    return true;
}

nlohmann::ordered_json ToJson(CDBEngineTARN& database, const DBNotifyProfile& profile) {
    nlohmann::ordered_json object;
    object["PROFILE_ID"] = profile.PROFILE_ID;
    object.update(FieldsToJson(CNotificationRules::ProfileFields(), profile));
    DBKeyList notifications;
    database.GetNotifyProfileNotifications(profile.PROFILE_ID, notifications);
    object["NOTIFICATIONS"] = notifications;
    return object;
}

int List(CDBEngineTARN& database, bool json) {
    DBNotifyProfileList profiles;
    if (!database.GetAllNotifyProfiles(profiles))
        return 1;
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    std::vector<std::vector<std::string>> rows{{"ID", "NAME", "DESCRIPTION"}};
    for (const DBNotifyProfile& profile : profiles) {
        array.push_back(ToJson(database, profile));
        rows.push_back({std::to_string(profile.PROFILE_ID), profile.NAME, profile.DESCRIPTION});
    }
    PrintJsonOrTable(json, array, rows);
    return 0;
}

int Store(CDBEngineTARN& database, DBNotifyProfile& profile) {
    const ConfigErrors errors = CNotificationRules::CheckProfile(profile);
    if (!errors.empty())
        return ReportErrors(errors, "");
    return database.SetNotifyProfile(profile) ? 0 : 1;
}

// The list "N1,N2,..." (empty: none), each an existing notification.
int SetNotifications(CDBEngineTARN& database, const DBNotifyProfile& profile,
                     const std::string& list) {
    DBNotificationList all;
    if (!database.GetAllNotifications(all))
        return 1;
    DBKeyList keys;
    for (size_t n = 1; n <= CountFields(list, ','); ++n) {
        int32_t key = 0;
        if (!ParseKey(GetField(list, n, ','), key))
            return 2;
        if (std::none_of(all.begin(), all.end(),
                         [key](const auto& x) { return x.NOTIFICATION_ID == key; })) {
            std::cerr << "tarn-admin: no notification " << key << "\n";
            return 1;
        }
        keys.push_back(key);
    }
    return database.SetNotifyProfileNotifications(profile.PROFILE_ID, keys) ? 0 : 1;
}

} // namespace

static int ChangeProfile(const AdminArgs& args) {
    AdminSession session;
    if (!ParseSessionOptions(args, session) ||
        !MatchesVerb(session.words, {{"list", 0, 0},
                                     {"show", 1, 1},
                                     {"remove", 1, 1},
                                     {"add", 0, kAnyCount},
                                     {"set", 2, kAnyCount},
                                     {"notifications", 1, 2}}))
        return Usage();
    const std::vector<std::string>& words = session.words;
    std::unique_ptr<CDBEngineTARN> database = OpenInstallation();
    if (!database)
        return 1;
    const std::string& verb = words[0];
    if (verb == "list")
        return List(*database, session.json);
    if (verb == "add") {
        DBNotifyProfile profile;
        profile.PROFILE_ID = DB_KEY_NEW;
        if (const int status =
                ApplyAssignments(CNotificationRules::ProfileFields(), words, 1, profile))
            return status;
        if (const int status = Store(*database, profile))
            return status;
        std::cout << profile.PROFILE_ID << "\n";
        return 0;
    }
    DBNotifyProfile profile;
    if (!Read(*database, words[1], profile))
        return 1;
    if (verb == "show") {
        PrintObject(session.json, ToJson(*database, profile));
        return 0;
    }
    if (verb == "remove")
        return database->DeleteNotifyProfile(profile.PROFILE_ID) ? 0 : 1;
    if (verb == "notifications")
        return SetNotifications(*database, profile, words.size() == 3 ? words[2] : "");
    if (const int status = ApplyAssignments(CNotificationRules::ProfileFields(), words, 2, profile))
        return status;
    return Store(*database, profile);
}

int RunProfile(const AdminArgs& args) {
    return WithReload(args, ChangeProfile);
}
