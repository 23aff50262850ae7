#include "CConfigDocument.h"

#include "CAuditionRules.h"
#include "CNotificationRules.h"
#include "CServiceRules.h"
#include "ConfigJson.h"
#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"

#include <algorithm>
#include <set>

namespace {

const ConfigFieldTable<DBPlugin>& PluginFields() {
    static const ConfigFieldTable<DBPlugin> table{
        MakeField<DBPlugin, &DBPlugin::PLUGIN_TYPE>(
            NumberField("PLUGIN_TYPE", INT32_MIN, INT32_MAX)),
        MakeField<DBPlugin, &DBPlugin::PLUGIN_NAME>(TextField("PLUGIN_NAME")),
        MakeField<DBPlugin, &DBPlugin::PLUGIN_MODULE>(TextField("PLUGIN_MODULE")),
    };
    return table;
}

// The document numbers of a list: position + 1.
template <class Record, class Key>
std::map<int32_t, int32_t> Numbering(const std::vector<Record>& list, Key key) {
    std::map<int32_t, int32_t> numbers;
    for (size_t i = 0; i < list.size(); ++i)
        numbers[key(list[i])] = static_cast<int32_t>(i + 1);
    return numbers;
}

ConfigJson Renumber(const DBKeyList& keys, const std::map<int32_t, int32_t>& numbers) {
    ConfigJson array = ConfigJson::array();
    for (int32_t key : keys) {
        const auto it = numbers.find(key);
        if (it != numbers.end())
            array.push_back(it->second);
    }
    return array;
}

DBKeyList KeysOf(const std::map<int32_t, DBKeyList>& relation, int32_t key) {
    const auto it = relation.find(key);
    return it == relation.end() ? DBKeyList{} : it->second;
}

// ---- Reading ----

class CDocumentReader {
public:
    explicit CDocumentReader(ConfigErrors& errors) : m_errors(errors) {}

    void Fail(const std::string& place, unsigned id,
              std::initializer_list<std::string_view> values = {}) {
        m_errors.push_back({place, FillMessage(LoadTarnString(id), values)});
    }

    // The section of the top-level object, or null after an error.
    const ConfigJson* Section(const ConfigJson& document, const char* name, bool array) {
        const auto it = document.find(name);
        if (it == document.end()) {
            Fail(name, IDS_DOCUMENT_MISSING);
            return nullptr;
        }
        if (array ? !it->is_array() : !it->is_object()) {
            Fail(name, array ? IDS_DOCUMENT_ARRAY : IDS_DOCUMENT_OBJECT);
            return nullptr;
        }
        return &*it;
    }

    // Reads every member of the object that is a field of the table; the
    // extra keys are left to the caller. True when no field was refused.
    template <class Record>
    bool ReadFields(const ConfigJson& object, const ConfigFieldTable<Record>& table, Record& record,
                    const std::string& place, std::initializer_list<std::string_view> extras) {
        const size_t before = m_errors.size();
        for (const auto& [key, element] : object.items()) {
            if (std::find(extras.begin(), extras.end(), key) != extras.end())
                continue;
            const ConfigField<Record>* field = FindField(table, key);
            if (!field) {
                Fail(place + "." + key, IDS_FIELD_UNKNOWN, {key});
                continue;
            }
            FieldValue value;
            std::string message = JsonToFieldValue(field->spec, element, value);
            if (message.empty())
                message = CheckFieldValue(field->spec, value);
            if (message.empty())
                field->put(record, value);
            else
                m_errors.push_back({place + "." + key, std::move(message)});
        }
        return m_errors.size() == before;
    }

    void AddErrors(const ConfigErrors& errors, const std::string& place) {
        for (const ConfigError& error : errors)
            m_errors.push_back({place + "." + error.field, error.message});
    }

    // The record's document number ("id"), unique in its list; 0 after an error.
    int32_t ReadId(const ConfigJson& object, const std::string& place, std::set<int32_t>& seen) {
        const auto it = object.find("id");
        if (it == object.end()) {
            Fail(place + ".id", IDS_DOCUMENT_MISSING);
            return 0;
        }
        FieldValue value;
        const FieldSpec spec = NumberField("id", 1, INT32_MAX);
        std::string message = JsonToFieldValue(spec, *it, value);
        if (message.empty())
            message = CheckFieldValue(spec, value);
        if (!message.empty()) {
            m_errors.push_back({place + ".id", std::move(message)});
            return 0;
        }
        const auto id = static_cast<int32_t>(std::get<int64_t>(value));
        if (!seen.insert(id).second) {
            Fail(place + ".id", IDS_DOCUMENT_DUPLICATE_ID, {std::to_string(id)});
            return 0;
        }
        return id;
    }

    // A list of document numbers that must all name records of `known`.
    DBKeyList ReadRelation(const ConfigJson& object, const char* name, const std::string& place,
                           const std::set<int32_t>& known) {
        DBKeyList keys;
        const auto it = object.find(name);
        if (it == object.end())
            return keys;
        if (!it->is_array()) {
            Fail(place + "." + name, IDS_DOCUMENT_ARRAY);
            return keys;
        }
        for (size_t i = 0; i < it->size(); ++i) {
            const std::string at = place + "." + name + "[" + std::to_string(i) + "]";
            const ConfigJson& element = (*it)[i];
            if (!element.is_number_integer() || !known.count(element.get<int64_t>())) {
                Fail(at, IDS_DOCUMENT_UNKNOWN_ID, {element.dump()});
                continue;
            }
            keys.push_back(static_cast<int32_t>(element.get<int64_t>()));
        }
        return keys;
    }

    // Calls read(element, place) for every element that is an object.
    template <class Read> void ForEachObject(const ConfigJson& array, const char* name, Read read) {
        for (size_t i = 0; i < array.size(); ++i) {
            const std::string place = std::string(name) + "[" + std::to_string(i) + "]";
            if (array[i].is_object())
                read(array[i], place);
            else
                Fail(place, IDS_DOCUMENT_OBJECT);
        }
    }

private:
    ConfigErrors& m_errors;
};

void ReadNotifications(CDocumentReader& reader, const ConfigJson& array, ConfigSnapshot& snapshot,
                       std::set<int32_t>& ids) {
    reader.ForEachObject(array, "notifications",
                         [&](const ConfigJson& object, const std::string& place) {
                             DBNotification notification = CNotificationRules::NewNotification();
                             const int32_t id = reader.ReadId(object, place, ids);
                             if (reader.ReadFields(object, CNotificationRules::Fields(),
                                                   notification, place, {"id"}))
                                 reader.AddErrors(CNotificationRules::Check(notification), place);
                             notification.NOTIFICATION_ID = id;
                             snapshot.notifications.push_back(notification);
                         });
}

void ReadProfiles(CDocumentReader& reader, const ConfigJson& array, ConfigSnapshot& snapshot,
                  const std::set<int32_t>& notificationIds, std::set<int32_t>& ids) {
    reader.ForEachObject(
        array, "profiles", [&](const ConfigJson& object, const std::string& place) {
            DBNotifyProfile profile;
            profile.PROFILE_ID = reader.ReadId(object, place, ids);
            if (reader.ReadFields(object, CNotificationRules::ProfileFields(), profile, place,
                                  {"id", "NOTIFICATIONS"}))
                reader.AddErrors(CNotificationRules::CheckProfile(profile), place);
            snapshot.profileNotifications[profile.PROFILE_ID] =
                reader.ReadRelation(object, "NOTIFICATIONS", place, notificationIds);
            snapshot.profiles.push_back(profile);
        });
}

void ReadAuditions(CDocumentReader& reader, const ConfigJson& array, ConfigSnapshot& snapshot,
                   const std::set<int32_t>& profileIds) {
    std::set<int32_t> ids;
    reader.ForEachObject(
        array, "auditions", [&](const ConfigJson& object, const std::string& place) {
            const int32_t id = reader.ReadId(object, place, ids);
            const auto type = object.find("AUDITION_TYPE");
            if (type == object.end() || !type->is_string()) {
                reader.Fail(place + ".AUDITION_TYPE", IDS_DOCUMENT_MISSING);
                return;
            }
            const std::optional<AuditionType> parsed =
                CAuditionRules::ParseType(type->get<std::string>());
            if (!parsed) {
                reader.Fail(place + ".AUDITION_TYPE", IDS_AUDITION_TYPE_UNKNOWN,
                            {type->get<std::string>()});
                return;
            }
            DBAudition audition = CAuditionRules::NewAudition(*parsed);
            if (reader.ReadFields(object, CAuditionRules::Fields(*parsed), audition, place,
                                  {"id", "AUDITION_TYPE", "PROFILES"})) {
                CAuditionRules::PrepareForSaving(audition);
                reader.AddErrors(CAuditionRules::Check(audition), place);
            }
            audition.AUDITION_ID = id;
            snapshot.auditionProfiles[id] =
                reader.ReadRelation(object, "PROFILES", place, profileIds);
            snapshot.auditions.push_back(audition);
        });
}

void ReadSections(CDocumentReader& reader, const ConfigJson& document, ConfigSnapshot& snapshot) {
    for (const auto& [key, element] : document.items()) {
        static const std::set<std::string> kSections{"settings",      "services", "plugins",
                                                     "notifications", "profiles", "auditions"};
        if (!kSections.count(key))
            reader.Fail(key.empty() ? "document" : key, IDS_FIELD_UNKNOWN, {key});
    }
    if (const ConfigJson* settings = reader.Section(document, "settings", false)) {
        if (reader.ReadFields(*settings, CServiceRules::SettingsFields(), snapshot.settings,
                              "settings", {}))
            reader.AddErrors(CServiceRules::CheckSettings(snapshot.settings), "settings");
        snapshot.settings.DATA_DIRECTORY =
            CServiceRules::WithTrailingSeparator(snapshot.settings.DATA_DIRECTORY);
    }
    if (const ConfigJson* services = reader.Section(document, "services", false)) {
        // The modem text is taken as stored: the "AT" rule belongs to typing
        // it in, and a stored "ATZ" must come back as it went out.
        if (reader.ReadFields(*services, CServiceRules::Fields(), snapshot.services, "services",
                              {}))
            reader.AddErrors(CServiceRules::Check(snapshot.services), "services");
    }
    if (const ConfigJson* plugins = reader.Section(document, "plugins", true)) {
        reader.ForEachObject(*plugins, "plugins",
                             [&](const ConfigJson& object, const std::string& place) {
                                 DBPlugin plugin;
                                 reader.ReadFields(object, PluginFields(), plugin, place, {});
                                 snapshot.plugins.push_back(plugin);
                             });
    }
    std::set<int32_t> notificationIds, profileIds;
    if (const ConfigJson* notifications = reader.Section(document, "notifications", true))
        ReadNotifications(reader, *notifications, snapshot, notificationIds);
    if (const ConfigJson* profiles = reader.Section(document, "profiles", true))
        ReadProfiles(reader, *profiles, snapshot, notificationIds, profileIds);
    if (const ConfigJson* auditions = reader.Section(document, "auditions", true))
        ReadAuditions(reader, *auditions, snapshot, profileIds);
}

} // namespace

std::string CConfigDocument::Write(const ConfigSnapshot& snapshot) {
    const auto notificationNumbers = Numbering(
        snapshot.notifications, [](const DBNotification& n) { return n.NOTIFICATION_ID; });
    const auto profileNumbers =
        Numbering(snapshot.profiles, [](const DBNotifyProfile& p) { return p.PROFILE_ID; });
    ConfigJson document;
    document["settings"] = FieldsToJson(CServiceRules::SettingsFields(), snapshot.settings);
    document["services"] = FieldsToJson(CServiceRules::Fields(), snapshot.services);
    document["plugins"] = ConfigJson::array();
    for (const DBPlugin& plugin : snapshot.plugins)
        document["plugins"].push_back(FieldsToJson(PluginFields(), plugin));
    document["notifications"] = ConfigJson::array();
    for (const DBNotification& notification : snapshot.notifications) {
        ConfigJson object{{"id", notificationNumbers.at(notification.NOTIFICATION_ID)}};
        object.update(FieldsToJson(CNotificationRules::Fields(), notification));
        document["notifications"].push_back(object);
    }
    document["profiles"] = ConfigJson::array();
    for (const DBNotifyProfile& profile : snapshot.profiles) {
        ConfigJson object{{"id", profileNumbers.at(profile.PROFILE_ID)}};
        object.update(FieldsToJson(CNotificationRules::ProfileFields(), profile));
        object["NOTIFICATIONS"] = Renumber(
            KeysOf(snapshot.profileNotifications, profile.PROFILE_ID), notificationNumbers);
        document["profiles"].push_back(object);
    }
    document["auditions"] = ConfigJson::array();
    for (size_t i = 0; i < snapshot.auditions.size(); ++i) {
        const DBAudition& audition = snapshot.auditions[i];
        const auto type = static_cast<AuditionType>(audition.AUDITION_TYPE);
        ConfigJson object{{"id", static_cast<int32_t>(i + 1)},
                          {"AUDITION_TYPE", CAuditionRules::TypeWord(type)}};
        object.update(FieldsToJson(CAuditionRules::Fields(type), audition));
        object["PROFILES"] =
            Renumber(KeysOf(snapshot.auditionProfiles, audition.AUDITION_ID), profileNumbers);
        document["auditions"].push_back(object);
    }
    return document.dump(2) + "\n";
}

bool CConfigDocument::Read(std::string_view text, ConfigSnapshot& snapshot, ConfigErrors& errors) {
    CDocumentReader reader(errors);
    const size_t before = errors.size();
    const ConfigJson document = ConfigJson::parse(text, nullptr, false);
    if (document.is_discarded()) {
        // Parse again with exceptions for the parser's own account of the place;
        // a number too large for its type is an out_of_range, not a parse_error.
        try {
            (void)ConfigJson::parse(text);
        } catch (const ConfigJson::exception& error) {
            reader.Fail("document", IDS_DOCUMENT_SYNTAX, {error.what()});
        }
        return false;
    }
    if (!document.is_object()) {
        reader.Fail("document", IDS_DOCUMENT_OBJECT);
        return false;
    }
    ReadSections(reader, document, snapshot);
    return errors.size() == before;
}
