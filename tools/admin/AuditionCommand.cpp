// tarn-admin audition: list, show, add, change, remove, activate and
// deactivate auditions of all six types through the configuration rules
// that the audition sheets use, with the notify profiles of each audition
// (pseudo-field PROFILES=ID,ID,...).
#include "AdminSession.h"

#include "CAuditionRules.h"
#include "FieldText.h"
#include "MessageIds.h"
#include "MessageText.h"
#include "PluginCleanup.h"
#include "StringTable.h"

namespace {

constexpr const char* kProfilesField = "PROFILES=";

int Usage() {
    std::cerr << "usage: tarn-admin audition list | show ID | add TYPE [FIELD=VALUE...] |\n"
                 "       set ID FIELD=VALUE... | remove ID | activate ID... | deactivate ID...\n"
                 "       [--home DIR] [--json]\n";
    return 2;
}

AuditionType TypeOf(const DBAudition& audition) {
    return static_cast<AuditionType>(audition.AUDITION_TYPE);
}

// The words without PROFILES=..., whose list goes to `profiles`.
bool TakeProfiles(std::vector<std::string>& words, std::optional<DBKeyList>& profiles) {
    for (auto it = words.begin(); it != words.end();) {
        if (it->rfind(kProfilesField, 0) != 0) {
            ++it;
            continue;
        }
        const std::string list = it->substr(std::char_traits<char>::length(kProfilesField));
        DBKeyList keys;
        for (size_t n = 1; n <= CountFields(list, ','); ++n) {
            int32_t key = 0;
            if (!ParseKey(GetField(list, n, ','), key))
                return false;
            keys.push_back(key);
        }
        profiles = keys;
        it = words.erase(it);
    }
    return true;
}

bool ProfilesExist(CDBEngineTARN& database, const DBKeyList& keys) {
    DBNotifyProfileList all;
    if (!database.GetAllNotifyProfiles(all))
        return false;
    for (int32_t key : keys) {
        if (std::none_of(all.begin(), all.end(),
                         [key](const auto& p) { return p.PROFILE_ID == key; })) {
            std::cerr << "tarn-admin: no notify profile " << key << "\n";
            return false;
        }
    }
    return true;
}

// An active plug-in audition needs its plug-in (message 1034); a plug-in
// audition without a plug-in name takes the installed plug-in's.
bool CheckPlugin(CDBEngineTARN& database, DBAudition& audition) {
    if (TypeOf(audition) != AuditionType::Plugin)
        return true;
    DBPlugin plugin;
    if (!FindInstalledPlugin(database, audition.Plugin.PLUGIN_TYPE, plugin)) {
        std::cerr << "tarn-admin: PLUGIN_TYPE: " << LoadTarnString(IDS_PLUGIN_NOT_INSTALLED)
                  << "\n";
        return false;
    }
    if (audition.Plugin.PLUGIN_NAME.empty())
        audition.Plugin.PLUGIN_NAME = plugin.PLUGIN_NAME;
    return true;
}

// Applies the rules of saving, checks and stores the audition and its profiles.
int Store(CDBEngineTARN& database, DBAudition& audition, const std::optional<DBKeyList>& profiles) {
    CAuditionRules::PrepareForSaving(audition);
    const ConfigErrors errors = CAuditionRules::Check(audition);
    if (!errors.empty())
        return ReportErrors(errors, "");
    if (!CheckPlugin(database, audition) || (profiles && !ProfilesExist(database, *profiles)))
        return 1;
    if (!database.SetAudition(audition))
        return 1;
    if (profiles && !database.SetAuditNotifyProfiles(audition.AUDITION_ID, *profiles))
        return 1;
    return 0;
}

bool Read(CDBEngineTARN& database, const std::string& word, DBAudition& audition) {
    int32_t key = 0;
    if (!ParseKey(word, key))
        return false;
    if (!database.IsAuditionValid(key) || !database.GetAudition(key, audition)) {
        std::cerr << "tarn-admin: no audition " << word << "\n";
        return false;
    }
    return true;
}

nlohmann::ordered_json ToJson(CDBEngineTARN& database, const DBAudition& audition) {
    nlohmann::ordered_json object;
    object["AUDITION_ID"] = audition.AUDITION_ID;
    object["AUDITION_TYPE"] = CAuditionRules::TypeWord(TypeOf(audition));
    object.update(FieldsToJson(CAuditionRules::Fields(TypeOf(audition)), audition));
    DBKeyList profiles;
    database.GetAuditNotifyProfiles(audition.AUDITION_ID, profiles);
    object["PROFILES"] = profiles;
    return object;
}

int List(CDBEngineTARN& database, bool json) {
    DBAuditionList auditions;
    if (!database.GetAllAuditions(auditions))
        return 1;
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    std::vector<std::vector<std::string>> rows{{"ID", "TYPE", "ACTIVE", "NAME", "DESCRIPTION"}};
    for (const DBAudition& audition : auditions) {
        array.push_back(ToJson(database, audition));
        rows.push_back({std::to_string(audition.AUDITION_ID),
                        CAuditionRules::TypeWord(TypeOf(audition)), audition.ACTIVE ? "1" : "0",
                        audition.NAME, audition.DESCRIPTION});
    }
    PrintJsonOrTable(json, array, rows);
    return 0;
}

int Show(CDBEngineTARN& database, const std::string& word, bool json) {
    DBAudition audition;
    if (!Read(database, word, audition))
        return 1;
    PrintObject(json, ToJson(database, audition));
    return 0;
}

int Add(CDBEngineTARN& database, std::vector<std::string> words) {
    std::optional<DBKeyList> profiles;
    if (!TakeProfiles(words, profiles))
        return 2;
    const std::optional<AuditionType> type = CAuditionRules::ParseType(words[1]);
    if (!type) {
        std::cerr << "tarn-admin: "
                  << FillMessage(LoadTarnString(IDS_AUDITION_TYPE_UNKNOWN), {words[1]}) << "\n";
        return 2;
    }
    DBAudition audition = CAuditionRules::NewAudition(*type);
    if (const int status = ApplyAssignments(CAuditionRules::Fields(*type), words, 2, audition))
        return status;
    if (const int status = Store(database, audition, profiles))
        return status;
    std::cout << audition.AUDITION_ID << "\n";
    return 0;
}

int Set(CDBEngineTARN& database, std::vector<std::string> words) {
    std::optional<DBKeyList> profiles;
    if (!TakeProfiles(words, profiles))
        return 2;
    DBAudition audition;
    if (!Read(database, words[1], audition))
        return 1;
    if (const int status =
            ApplyAssignments(CAuditionRules::Fields(TypeOf(audition)), words, 2, audition))
        return status;
    return Store(database, audition, profiles);
}

int SetActive(CDBEngineTARN& database, const std::vector<std::string>& words, bool active) {
    std::vector<DBAudition> auditions(words.size() - 1);
    for (size_t i = 1; i < words.size(); ++i) {
        if (!Read(database, words[i], auditions[i - 1]))
            return 1;
        auditions[i - 1].ACTIVE = active;
        if (active && !CheckPlugin(database, auditions[i - 1]))
            return 1; // nothing stored, as the sheet does
    }
    for (DBAudition& audition : auditions) {
        if (!database.SetAudition(audition))
            return 1;
    }
    return 0;
}

int Remove(CDBEngineTARN& database, const std::string& word) {
    DBAudition audition;
    if (!Read(database, word, audition))
        return 1;
    LetPluginCleanUp(database, audition);
    return database.DeleteAudition(audition.AUDITION_ID) ? 0 : 1;
}

} // namespace

static int ChangeAudition(const AdminArgs& args) {
    AdminSession session;
    if (!ParseSessionOptions(args, session))
        return Usage();
    const std::vector<std::string>& words = session.words;
    const std::string& verb = words[0];
    const bool oneArgument = words.size() == 2;
    if (!(verb == "list" && words.size() == 1) &&
        !((verb == "show" || verb == "remove") && oneArgument) &&
        !((verb == "add" || verb == "activate" || verb == "deactivate") && words.size() >= 2) &&
        !(verb == "set" && words.size() >= 3))
        return Usage();
    std::unique_ptr<CDBEngineTARN> database = OpenInstallation();
    if (!database)
        return 1;
    if (verb == "list")
        return List(*database, session.json);
    if (verb == "show")
        return Show(*database, words[1], session.json);
    if (verb == "add")
        return Add(*database, words);
    if (verb == "set")
        return Set(*database, words);
    if (verb == "remove")
        return Remove(*database, words[1]);
    return SetActive(*database, words, verb == "activate");
}

int RunAudition(const AdminArgs& args) {
    return WithReload(args, ChangeAudition);
}
