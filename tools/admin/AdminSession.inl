// Template definitions of AdminSession.h.
#pragma once

int ReportUnknownField(const std::string& word);
int ReportValueError(const std::string& column, const std::string& message);
nlohmann::ordered_json FieldValueToJson(const FieldSpec& spec, const FieldValue& value);

template <class Record>
int ApplyAssignments(const ConfigFieldTable<Record>& table, const std::vector<std::string>& words,
                     size_t first, Record& record) {
    for (size_t i = first; i < words.size(); ++i) {
        const size_t equals = words[i].find('=');
        const ConfigField<Record>* field =
            equals == std::string::npos ? nullptr : FindField(table, words[i].substr(0, equals));
        if (!field)
            return ReportUnknownField(words[i]);
        FieldValue value;
        std::string message = ParseFieldValue(field->spec, words[i].substr(equals + 1), value);
        if (message.empty())
            message = CheckFieldValue(field->spec, value); // before a flag folds 2 into true
        if (!message.empty())
            return ReportValueError(field->spec.column, message);
        field->put(record, value);
    }
    return 0;
}

template <class Record>
nlohmann::ordered_json FieldsToJson(const ConfigFieldTable<Record>& table, const Record& record) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (const ConfigField<Record>& field : table)
        object[field.spec.column] = FieldValueToJson(field.spec, field.get(record));
    return object;
}

template <class Record>
void PrintFields(const ConfigFieldTable<Record>& table, const Record& record) {
    std::vector<std::vector<std::string>> rows;
    for (const ConfigField<Record>& field : table)
        rows.push_back({field.spec.column, FieldValueText(field.get(record))});
    PrintTable(rows);
}
