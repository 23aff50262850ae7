#include "MessageText.h"

namespace {

// The length of the placeholder that begins at text[at], 0 when none does.
size_t PlaceholderLength(std::string_view text, size_t at) {
    if (text[at] != '%')
        return 0;
    size_t end = at + 1;
    if (end < text.size() && text[end] == 'l')
        ++end;
    if (end < text.size() && (text[end] == 's' || text[end] == 'd' || text[end] == 'u'))
        return end + 1 - at;
    return 0;
}

} // namespace

std::string FillMessage(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string result;
    result.reserve(text.size());
    auto value = values.begin();
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t length = value != values.end() ? PlaceholderLength(text, i) : 0;
        if (length == 0) {
            result += text[i];
            continue;
        }
        result += *value++;
        i += length - 1;
    }
    return result;
}
