// tarn-admin notification: list, show, add, change and remove notifications
// with their six channel rows ("SMS.RECIPIENT=...", "SMTP_ACTIVE=1") through
// the rules of the notification sheet.
#include "AdminSession.h"

#include "CNotificationRules.h"

namespace {

int Usage() {
    std::cerr << "usage: tarn-admin notification list | show ID | add [FIELD=VALUE...] |\n"
                 "       set ID FIELD=VALUE... | remove ID  [--home DIR] [--json]\n";
    return 2;
}

bool Read(CDBEngineTARN& database, const std::string& word, DBNotification& notification) {
    int32_t key = 0;
    if (!ParseKey(word, key))
        return false;
    if (!database.GetNotification(key, notification) || !notification.Valid()) {
        std::cerr << "tarn-admin: no notification " << word << "\n";
        return false;
    }
    return true;
}

nlohmann::ordered_json ToJson(const DBNotification& notification) {
    nlohmann::ordered_json object;
    object["NOTIFICATION_ID"] = notification.NOTIFICATION_ID;
    object.update(FieldsToJson(CNotificationRules::Fields(), notification));
    return object;
}

int List(CDBEngineTARN& database, bool json) {
    DBNotificationList notifications;
    if (!database.GetAllNotifications(notifications))
        return 1;
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    std::vector<std::vector<std::string>> rows{{"ID", "NAME", "DESCRIPTION"}};
    for (const DBNotification& notification : notifications) {
        array.push_back(ToJson(notification));
        rows.push_back({std::to_string(notification.NOTIFICATION_ID), notification.NAME,
                        notification.DESCRIPTION});
    }
    PrintJsonOrTable(json, array, rows);
    return 0;
}

int Store(CDBEngineTARN& database, DBNotification& notification) {
    const ConfigErrors errors = CNotificationRules::Check(notification);
    if (!errors.empty())
        return ReportErrors(errors, "");
    return database.SetNotification(notification) ? 0 : 1;
}

} // namespace

static int ChangeNotification(const AdminArgs& args) {
    AdminSession session;
    if (!ParseSessionOptions(args, session) || !MatchesVerb(session.words, {{"list", 0, 0},
                                                                            {"show", 1, 1},
                                                                            {"remove", 1, 1},
                                                                            {"add", 0, kAnyCount},
                                                                            {"set", 2, kAnyCount}}))
        return Usage();
    const std::vector<std::string>& words = session.words;
    std::unique_ptr<CDBEngineTARN> database = OpenInstallation();
    if (!database)
        return 1;
    const std::string& verb = words[0];
    if (verb == "list")
        return List(*database, session.json);
    if (verb == "add") {
        DBNotification notification = CNotificationRules::NewNotification();
        if (const int status =
                ApplyAssignments(CNotificationRules::Fields(), words, 1, notification))
            return status;
        if (const int status = Store(*database, notification))
            return status;
        std::cout << notification.NOTIFICATION_ID << "\n";
        return 0;
    }
    DBNotification notification;
    if (!Read(*database, words[1], notification))
        return 1;
    if (verb == "show") {
        PrintObject(session.json, ToJson(notification));
        return 0;
    }
    if (verb == "remove")
        return database->DeleteNotification(notification.NOTIFICATION_ID) ? 0 : 1;
    if (const int status = ApplyAssignments(CNotificationRules::Fields(), words, 2, notification))
        return status;
    return Store(*database, notification);
}

int RunNotification(const AdminArgs& args) {
    return WithReload(args, ChangeNotification);
}
