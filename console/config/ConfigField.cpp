#include "ConfigField.h"

#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"
#include "TextEncoding.h"

#include <charconv>

namespace {

std::string RangeMessage(const FieldSpec& spec) {
    return FillMessage(LoadTarnString(IDS_FIELD_RANGE),
                       {std::to_string(spec.minimum), std::to_string(spec.maximum)});
}

std::string CheckNumber(const FieldSpec& spec, int64_t number) {
    if (number >= spec.minimum && number <= spec.maximum)
        return {};
    return spec.kind == FieldKind::Flag ? LoadTarnString(IDS_FIELD_FLAG) : RangeMessage(spec);
}

std::string CheckText(const FieldSpec& spec, const std::string& text) {
    if (spec.maximum <= 0 || CutToCharacters(text, spec.maximum).size() == text.size())
        return {};
    return FillMessage(LoadTarnString(IDS_FIELD_LENGTH), {std::to_string(spec.maximum)});
}

} // namespace

std::string CheckFieldValue(const FieldSpec& spec, const FieldValue& value) {
    if (spec.kind == FieldKind::Text) {
        if (const auto* text = std::get_if<std::string>(&value))
            return CheckText(spec, *text);
        return LoadTarnString(IDS_FIELD_TEXT);
    }
    if (const auto* number = std::get_if<int64_t>(&value))
        return CheckNumber(spec, *number);
    return LoadTarnString(spec.kind == FieldKind::Flag ? IDS_FIELD_FLAG : IDS_FIELD_NUMBER);
}

std::string ParseFieldValue(const FieldSpec& spec, std::string_view text, FieldValue& value) {
    if (spec.kind == FieldKind::Text) {
        value = std::string(text);
        return {};
    }
    int64_t number = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (!text.empty() && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, number);
    if (text.empty() || error != std::errc() || end != last)
        return LoadTarnString(spec.kind == FieldKind::Flag ? IDS_FIELD_FLAG : IDS_FIELD_NUMBER);
    value = number;
    return {};
}

std::string FieldValueText(const FieldValue& value) {
    if (const auto* number = std::get_if<int64_t>(&value))
        return std::to_string(*number);
    return std::get<std::string>(value);
}
