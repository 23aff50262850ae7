#include "CNotificationRules.h"

#include "MessageIds.h"
#include "StringTable.h"

namespace {

using Table = ConfigFieldTable<DBNotification>;
using N = DBNotification;

constexpr int32_t kTextLimit = 255;
constexpr int32_t kVariableLimit = 100;
constexpr int32_t kTrapIdMaximum = 2147483647;

template <auto Member> ConfigField<N> Main(FieldSpec spec) {
    return MakeField<N, Member>(spec);
}
template <auto Part, auto Member> ConfigField<N> Channel(FieldSpec spec) {
    return MakePartField<N, Part, Member>(spec);
}

// The daily window of one channel.
template <auto Part, class Row> void AddWindow(Table& table, const char* begin, const char* end) {
    table.push_back(Channel<Part, &Row::ACTIVE_BEGIN>(NumberField(begin, 0, 24)));
    table.push_back(Channel<Part, &Row::ACTIVE_END>(NumberField(end, 0, 24)));
}

Table BuildFields() {
    Table table{
        Main<&N::NAME>(TextField("NAME", kTextLimit)),
        Main<&N::DESCRIPTION>(TextField("DESCRIPTION", kTextLimit)),
        Main<&N::SMS_ACTIVE>(FlagField("SMS_ACTIVE")),
        Main<&N::MSMAIL_ACTIVE>(FlagField("MSMAIL_ACTIVE")),
        Main<&N::FAX_ACTIVE>(FlagField("FAX_ACTIVE")),
        Main<&N::PRINTER_ACTIVE>(FlagField("PRINTER_ACTIVE")),
        Main<&N::SMTP_ACTIVE>(FlagField("SMTP_ACTIVE")),
        Main<&N::SNMP_ACTIVE>(FlagField("SNMP_ACTIVE")),
    };
    AddWindow<&N::SMS, DBNotificationSMS>(table, "SMS.ACTIVE_BEGIN", "SMS.ACTIVE_END");
    table.push_back(
        Channel<&N::SMS, &DBNotificationSMS::RECIPIENT>(TextField("SMS.RECIPIENT", kTextLimit)));
    table.push_back(
        Channel<&N::SMS, &DBNotificationSMS::SENDERINFO>(TextField("SMS.SENDERINFO", kTextLimit)));
    AddWindow<&N::MSMail, DBNotificationMSMail>(table, "MSMAIL.ACTIVE_BEGIN", "MSMAIL.ACTIVE_END");
    table.push_back(Channel<&N::MSMail, &DBNotificationMSMail::RECIPIENTS>(
        TextField("MSMAIL.RECIPIENTS", kTextLimit)));
    table.push_back(Channel<&N::MSMail, &DBNotificationMSMail::MAILTEXT>(
        TextField("MSMAIL.MAILTEXT", kTextLimit)));
    AddWindow<&N::Fax, DBNotificationFax>(table, "FAX.ACTIVE_BEGIN", "FAX.ACTIVE_END");
    table.push_back(
        Channel<&N::Fax, &DBNotificationFax::RECIPIENT>(TextField("FAX.RECIPIENT", kTextLimit)));
    table.push_back(
        Channel<&N::Fax, &DBNotificationFax::FAXTEXT>(TextField("FAX.FAXTEXT", kTextLimit)));
    AddWindow<&N::Printer, DBNotificationPrinter>(table, "PRINTER.ACTIVE_BEGIN",
                                                  "PRINTER.ACTIVE_END");
    table.push_back(Channel<&N::Printer, &DBNotificationPrinter::PRINTERNAME>(
        TextField("PRINTER.PRINTERNAME", kTextLimit)));
    table.push_back(Channel<&N::Printer, &DBNotificationPrinter::DRIVERNAME>(
        TextField("PRINTER.DRIVERNAME", kTextLimit)));
    table.push_back(Channel<&N::Printer, &DBNotificationPrinter::PRINTERTEXT>(
        TextField("PRINTER.PRINTERTEXT", kTextLimit)));
    AddWindow<&N::SMTP, DBNotificationSMTP>(table, "SMTP.ACTIVE_BEGIN", "SMTP.ACTIVE_END");
    table.push_back(Channel<&N::SMTP, &DBNotificationSMTP::RECIPIENTS>(
        TextField("SMTP.RECIPIENTS", kTextLimit)));
    table.push_back(
        Channel<&N::SMTP, &DBNotificationSMTP::MAILTEXT>(TextField("SMTP.MAILTEXT", kTextLimit)));
    AddWindow<&N::SNMP, DBNotificationSNMP>(table, "SNMP.ACTIVE_BEGIN", "SNMP.ACTIVE_END");
    table.push_back(Channel<&N::SNMP, &DBNotificationSNMP::ENTERPRISE>(
        TextField("SNMP.ENTERPRISE", kTextLimit)));
    table.push_back(Channel<&N::SNMP, &DBNotificationSNMP::VARIABLE_ID>(
        TextField("SNMP.VARIABLE_ID", kVariableLimit)));
    table.push_back(Channel<&N::SNMP, &DBNotificationSNMP::SPECIFIC_ID>(
        NumberField("SNMP.SPECIFIC_ID", 0, kTrapIdMaximum)));
    table.push_back(Channel<&N::SNMP, &DBNotificationSNMP::SPECIFIC_ID_RESOLVED>(
        NumberField("SNMP.SPECIFIC_ID_RESOLVED", 0, kTrapIdMaximum)));
    table.push_back(Channel<&N::SNMP, &DBNotificationSNMP::SPECIFIC_ID_UNRESOLVED>(
        NumberField("SNMP.SPECIFIC_ID_UNRESOLVED", 0, kTrapIdMaximum)));
    return table;
}

} // namespace

const ConfigFieldTable<DBNotification>& CNotificationRules::Fields() {
    static const Table table = BuildFields();
    return table;
}

const ConfigFieldTable<DBNotifyProfile>& CNotificationRules::ProfileFields() {
    static const ConfigFieldTable<DBNotifyProfile> table{
        MakeField<DBNotifyProfile, &DBNotifyProfile::NAME>(TextField("NAME", kTextLimit)),
        MakeField<DBNotifyProfile, &DBNotifyProfile::DESCRIPTION>(
            TextField("DESCRIPTION", kTextLimit)),
    };
    return table;
}

DBNotification CNotificationRules::NewNotification() {
    DBNotification record; // the record's defaults are the new notification's
    record.NOTIFICATION_ID = DB_KEY_NEW;
    return record;
}

ConfigErrors CNotificationRules::Check(const DBNotification& record) {
    ConfigErrors errors;
    if (record.NAME.empty())
        errors.push_back({"NAME", LoadTarnString(IDS_NOTIFICATION_NAME_REQUIRED)});
    CheckFields(Fields(), record, errors);
    return errors;
}

ConfigErrors CNotificationRules::CheckProfile(const DBNotifyProfile& record) {
    ConfigErrors errors;
    if (record.NAME.empty())
        errors.push_back({"NAME", LoadTarnString(IDS_PROFILE_NAME_REQUIRED)});
    CheckFields(ProfileFields(), record, errors);
    return errors;
}
