// One editable field of a configuration record: its column name, kind and
// limit, and how to read and write it in the record. The editors (sheets,
// tarn-admin, the import) go through these tables, so that every editor
// refuses the same values with the same text.
//
// A sheet checks one field as it is left:
//     const auto* field = FindField(CAuditionRules::Fields(type), "TIMEOUT");
//     std::string message = CheckFieldValue(field->spec, FieldValue{int64_t{0}});
//     // message: "Geben Sie eine ganze Zahl zwischen 1 und 30 ein."
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

enum class FieldKind {
    Text,   // maximum = length limit in characters, 0 = none
    Number, // minimum .. maximum
    Flag,   // 0 or 1
};

struct FieldSpec {
    const char* column; // the database column name
    FieldKind kind;
    int32_t minimum;
    int32_t maximum;
};

// Texts are strings, numbers and flags are integers (flags 0 or 1).
using FieldValue = std::variant<int64_t, std::string>;

// A refused value: the field (or place) it belongs to and the message text.
struct ConfigError {
    std::string field;
    std::string message;
};
using ConfigErrors = std::vector<ConfigError>;

template <class Record> struct ConfigField {
    FieldSpec spec;
    FieldValue (*get)(const Record&);
    void (*put)(Record&, const FieldValue&);
};

template <class Record> using ConfigFieldTable = std::vector<ConfigField<Record>>;

// Field specs for the tables.
constexpr FieldSpec TextField(const char* column, int32_t maxLength = 0) {
    return {column, FieldKind::Text, 0, maxLength};
}
constexpr FieldSpec NumberField(const char* column, int32_t minimum, int32_t maximum) {
    return {column, FieldKind::Number, minimum, maximum};
}
constexpr FieldSpec FlagField(const char* column) {
    return {column, FieldKind::Flag, 0, 1};
}

template <class T> FieldValue ToFieldValue(const T& value) {
    if constexpr (std::is_same_v<T, std::string>)
        return value;
    else
        return static_cast<int64_t>(value);
}

template <class T> void FromFieldValue(const FieldValue& value, T& target) {
    if constexpr (std::is_same_v<T, std::string>)
        target = std::get<std::string>(value);
    else if constexpr (std::is_same_v<T, bool>)
        target = std::get<int64_t>(value) != 0;
    else
        target = static_cast<T>(std::get<int64_t>(value));
}

// A field that is a member of the record.
template <class Record, auto Member> ConfigField<Record> MakeField(FieldSpec spec) {
    return {spec, [](const Record& r) { return ToFieldValue(r.*Member); },
            [](Record& r, const FieldValue& v) { FromFieldValue(v, r.*Member); }};
}

// A field of a sub-record (an audition's detail row, a notification's channel).
template <class Record, auto Part, auto Member> ConfigField<Record> MakePartField(FieldSpec spec) {
    return {spec, [](const Record& r) { return ToFieldValue((r.*Part).*Member); },
            [](Record& r, const FieldValue& v) { FromFieldValue(v, (r.*Part).*Member); }};
}

template <class Record>
const ConfigField<Record>* FindField(const ConfigFieldTable<Record>& table,
                                     std::string_view column) {
    for (const ConfigField<Record>& field : table) {
        if (column == field.spec.column)
            return &field;
    }
    return nullptr;
}

// The message for a value outside the field's limit, empty when it passes.
// A value of the wrong kind (a text for a number) gets the kind's message.
std::string CheckFieldValue(const FieldSpec& spec, const FieldValue& value);
// Reads a command-line or file text as a value of the field: a text as it
// is, a number as decimal digits with an optional sign. Returns the message
// for text that is no number, empty on success. The limit is not checked.
std::string ParseFieldValue(const FieldSpec& spec, std::string_view text, FieldValue& value);
// The value as text: numbers and flags in decimal.
std::string FieldValueText(const FieldValue& value);

// Checks every field of the table in the record; one error per refused field.
template <class Record>
void CheckFields(const ConfigFieldTable<Record>& table, const Record& record,
                 ConfigErrors& errors) {
    for (const ConfigField<Record>& field : table) {
        std::string message = CheckFieldValue(field.spec, field.get(record));
        if (!message.empty())
            errors.push_back({field.spec.column, std::move(message)});
    }
}
