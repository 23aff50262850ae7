// Filling the placeholders of a text from the string table. The values are
// never read as a format, so a path or host name with "%" in it is shown as it is.
#pragma once

#include <string>
#include <string_view>

// Replaces the first occurrence of placeholder ("%s", "%d") with value; the
// text is returned unchanged when it has no such placeholder.
std::string FillPlaceholder(std::string text, std::string_view placeholder, std::string_view value);
