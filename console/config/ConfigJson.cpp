#include "ConfigJson.h"

#include "MessageIds.h"
#include "StringTable.h"

#include <limits>

ConfigJson FieldValueToJson(const FieldSpec& spec, const FieldValue& value) {
    if (const auto* number = std::get_if<int64_t>(&value))
        return spec.kind == FieldKind::Flag ? ConfigJson(*number != 0) : ConfigJson(*number);
    return std::get<std::string>(value);
}

std::string JsonToFieldValue(const FieldSpec& spec, const ConfigJson& element, FieldValue& value) {
    switch (spec.kind) {
    case FieldKind::Text:
        if (!element.is_string())
            return LoadTarnString(IDS_FIELD_TEXT);
        value = element.get<std::string>();
        return {};
    case FieldKind::Flag:
        if (element.is_boolean()) {
            value = int64_t{element.get<bool>() ? 1 : 0};
            return {};
        }
        break;
    case FieldKind::Number:
        break;
    }
    if (element.is_number_unsigned()) // beyond any limit when it does not fit
        value = static_cast<int64_t>(
            std::min<uint64_t>(element.get<uint64_t>(), std::numeric_limits<int64_t>::max()));
    else if (element.is_number_integer())
        value = element.get<int64_t>();
    else
        return LoadTarnString(spec.kind == FieldKind::Flag ? IDS_FIELD_FLAG : IDS_FIELD_NUMBER);
    return {};
}
