// Field values and records as JSON (nlohmann-json): flags as true/false,
// numbers as integers, texts as strings, fields in table order.
#pragma once

#include "ConfigField.h"

#include <nlohmann/json.hpp>

using ConfigJson = nlohmann::ordered_json;

ConfigJson FieldValueToJson(const FieldSpec& spec, const FieldValue& value);
// The value of a JSON element for the field: the kind's message when the
// element has the wrong type, else empty. The limit is not checked.
std::string JsonToFieldValue(const FieldSpec& spec, const ConfigJson& element, FieldValue& value);

template <class Record>
ConfigJson FieldsToJson(const ConfigFieldTable<Record>& table, const Record& record) {
    ConfigJson object = ConfigJson::object();
    for (const ConfigField<Record>& field : table)
        object[field.spec.column] = FieldValueToJson(field.spec, field.get(record));
    return object;
}
