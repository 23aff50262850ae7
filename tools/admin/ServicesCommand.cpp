// tarn-admin services and settings: the notification service settings (SMS,
// MS-Mail, fax, SMTP) and the general settings (protocol file, data
// directory), through the rules of their sheets.
#include "AdminSession.h"

#include "CServiceRules.h"

namespace {

int ServicesUsage() {
    std::cerr << "usage: tarn-admin services show | set FIELD=VALUE...  [--home DIR] [--json]\n";
    return 2;
}

int SettingsUsage() {
    std::cerr << "usage: tarn-admin settings show | set protocol-file=FILE data-directory=DIR\n"
                 "       [--home DIR] [--json]\n";
    return 2;
}

// The settings' short names stand for their columns.
std::vector<std::string> WithColumnNames(std::vector<std::string> words) {
    for (std::string& word : words) {
        for (const auto& [alias, column] : {std::pair{"protocol-file=", "PROTOCOLFILE="},
                                            std::pair{"data-directory=", "DATA_DIRECTORY="}}) {
            if (word.rfind(alias, 0) == 0)
                word = column + word.substr(std::char_traits<char>::length(alias));
        }
    }
    return words;
}

int SetServices(CDBEngineTARN& database, const std::vector<std::string>& words) {
    DBNotifySrvConfig services;
    if (!database.GetNotifyServicesConfig(services))
        return 1;
    if (const int status = ApplyAssignments(CServiceRules::Fields(), words, 1, services))
        return status;
    CServiceRules::PrepareForSaving(services);
    const ConfigErrors errors = CServiceRules::Check(services);
    if (!errors.empty())
        return ReportErrors(errors, "");
    return database.SetNotifyServicesConfig(services) ? 0 : 1;
}

int SetSettings(CDBEngineTARN& database, const std::vector<std::string>& words) {
    DBConfiguration settings;
    if (!database.GetConfiguration(settings))
        return 1;
    if (const int status =
            ApplyAssignments(CServiceRules::SettingsFields(), WithColumnNames(words), 1, settings))
        return status;
    const ConfigErrors errors = CServiceRules::CheckSettings(settings);
    if (!errors.empty())
        return ReportErrors(errors, "");
    settings.DATA_DIRECTORY = CServiceRules::WithTrailingSeparator(settings.DATA_DIRECTORY);
    return database.SetConfiguration(settings) ? 0 : 1;
}

bool ParseShowOrSet(const AdminArgs& args, AdminSession& session) {
    return ParseSessionOptions(args, session) &&
           MatchesVerb(session.words, {{"show", 0, 0}, {"set", 1, kAnyCount}});
}

} // namespace

static int ChangeServices(const AdminArgs& args) {
    AdminSession session;
    if (!ParseShowOrSet(args, session))
        return ServicesUsage();
    std::unique_ptr<CDBEngineTARN> database = OpenInstallation();
    if (!database)
        return 1;
    if (session.words[0] == "set")
        return SetServices(*database, session.words);
    DBNotifySrvConfig services;
    if (!database->GetNotifyServicesConfig(services))
        return 1;
    PrintObject(session.json, FieldsToJson(CServiceRules::Fields(), services));
    return 0;
}

static int ChangeSettings(const AdminArgs& args) {
    AdminSession session;
    if (!ParseShowOrSet(args, session))
        return SettingsUsage();
    std::unique_ptr<CDBEngineTARN> database = OpenInstallation();
    if (!database)
        return 1;
    if (session.words[0] == "set")
        return SetSettings(*database, session.words);
    DBConfiguration settings;
    if (!database->GetConfiguration(settings))
        return 1;
    PrintObject(session.json, FieldsToJson(CServiceRules::SettingsFields(), settings));
    return 0;
}

int RunServices(const AdminArgs& args) {
    return WithReload(args, ChangeServices);
}

int RunSettings(const AdminArgs& args) {
    return WithReload(args, ChangeSettings);
}
