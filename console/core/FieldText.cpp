#include "FieldText.h"

#include "TextEncoding.h"

#include <algorithm>

size_t CountFields(std::string_view text, char separator) {
    if (text.empty())
        return 0;
    return static_cast<size_t>(std::count(text.begin(), text.end(), separator)) + 1;
}

std::string GetField(std::string_view text, size_t n, char separator) {
    if (n == 0)
        return {};
    size_t start = 0;
    // A leading separator is passed over when the first field is asked for.
    size_t skip = (n == 1 && !text.empty() && text.front() == separator) ? 1 : n - 1;
    for (size_t i = 0; i < skip; ++i) {
        size_t next = text.find(separator, start);
        if (next == std::string_view::npos)
            return {};
        start = next + 1;
    }
    size_t end = text.find(separator, start);
    return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

bool IsInList(std::string_view list, char separator, std::string_view value) {
    size_t fields = CountFields(list, separator);
    for (size_t n = 1; n <= fields; ++n) {
        if (EqualsNoCase(GetField(list, n, separator), value))
            return true;
    }
    return false;
}
