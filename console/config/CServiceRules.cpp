#include "CServiceRules.h"

#include "AppPaths.h"
#include "MessageIds.h"
#include "StringTable.h"

#include <sys/stat.h>

namespace {

using S = DBNotifySrvConfig;

constexpr int32_t kTextLimit = 255;
constexpr int32_t kPrefixLimit = 50;
constexpr int32_t kNumberLimit = 100;

template <auto Member> ConfigField<S> Service(FieldSpec spec) {
    return MakeField<S, Member>(spec);
}

} // namespace

const ConfigFieldTable<DBNotifySrvConfig>& CServiceRules::Fields() {
    static const ConfigFieldTable<S> table{
        Service<&S::SMS_DIAL_PREFIX>(TextField("SMS_DIAL_PREFIX", kPrefixLimit)),
        Service<&S::SMS_RETRIES>(NumberField("SMS_RETRIES", 1, 3)),
        Service<&S::SMS_GATEWAY_D1>(TextField("SMS_GATEWAY_D1", kNumberLimit)),
        Service<&S::SMS_GATEWAY_D2>(TextField("SMS_GATEWAY_D2", kNumberLimit)),
        Service<&S::SMS_GATEWAY_EPLUS>(TextField("SMS_GATEWAY_EPLUS", kNumberLimit)),
        Service<&S::SMS_GATEWAY_QUIX>(TextField("SMS_GATEWAY_QUIX", kNumberLimit)),
        Service<&S::SMS_GATEWAY_NATEL_D>(TextField("SMS_GATEWAY_NATEL_D", kNumberLimit)),
        Service<&S::MSMAIL_LOGON_PROFILE>(TextField("MSMAIL_LOGON_PROFILE", kTextLimit)),
        Service<&S::MSMAIL_LOGON_PROFILE_PASSWORD>(
            TextField("MSMAIL_LOGON_PROFILE_PASSWORD", kTextLimit)),
        Service<&S::FAX_DIAL_PREFIX>(TextField("FAX_DIAL_PREFIX", kPrefixLimit)),
        Service<&S::FAX_COM_PORT>(NumberField("FAX_COM_PORT", 1, 256)),
        Service<&S::FAX_MODEM_INIT_STRING>(TextField("FAX_MODEM_INIT_STRING", kTextLimit)),
        Service<&S::FAX_RETRIES>(NumberField("FAX_RETRIES", 1, 3)),
        Service<&S::FAX_DIAL_TYPE>(NumberField("FAX_DIAL_TYPE", 0, 1)),
        Service<&S::SMTP_MAILSERVER>(TextField("SMTP_MAILSERVER", kTextLimit)),
        Service<&S::SMTP_SENDER>(TextField("SMTP_SENDER", kTextLimit)),
    };
    return table;
}

const ConfigFieldTable<DBConfiguration>& CServiceRules::SettingsFields() {
    static const ConfigFieldTable<DBConfiguration> table{
        MakeField<DBConfiguration, &DBConfiguration::PROTOCOLFILE>(
            TextField("PROTOCOLFILE", kTextLimit)),
        MakeField<DBConfiguration, &DBConfiguration::DATA_DIRECTORY>(
            TextField("DATA_DIRECTORY", kTextLimit)),
    };
    return table;
}

std::string CServiceRules::StripModemPrefix(std::string_view initString) {
    const bool prefixed = initString.size() >= 2 &&
                          (initString[0] == 'A' || initString[0] == 'a') &&
                          (initString[1] == 'T' || initString[1] == 't');
    return std::string(prefixed ? initString.substr(2) : initString);
}

void CServiceRules::PrepareForSaving(DBNotifySrvConfig& record) {
    record.FAX_MODEM_INIT_STRING = StripModemPrefix(record.FAX_MODEM_INIT_STRING);
}

ConfigErrors CServiceRules::Check(const DBNotifySrvConfig& record) {
    ConfigErrors errors;
    CheckFields(Fields(), record, errors);
    return errors;
}

std::string CServiceRules::WithTrailingSeparator(std::string_view directory) {
    return ::WithTrailingSeparator(std::string(directory));
}

std::string CServiceRules::CheckDataDirectory(std::string_view directory) {
    std::string path(directory);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    struct stat status {};
    if (!path.empty() && ::stat(path.c_str(), &status) == 0)
        return {};
    return LoadTarnString(IDS_DIRECTORY_MISSING);
}

ConfigErrors CServiceRules::CheckSettings(const DBConfiguration& record) {
    ConfigErrors errors;
    CheckFields(SettingsFields(), record, errors);
    std::string message = CheckDataDirectory(record.DATA_DIRECTORY);
    if (!message.empty())
        errors.push_back({"DATA_DIRECTORY", std::move(message)});
    return errors;
}
