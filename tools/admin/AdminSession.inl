// Template definitions of AdminSession.h.
#pragma once

int ReportUnknownField(const std::string& word);
int ReportValueError(const std::string& column, const std::string& message);

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
