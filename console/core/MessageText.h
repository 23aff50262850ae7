// Filling the placeholders of a text from the string table. The text may come
// from a translation catalogue, so it is never used as a printf format.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Replaces the placeholders of the text ("%s", "%d", "%u", "%ld", "%lu")
// from left to right, each exactly once, with the next value. Inserted values
// are never scanned again, so a value that holds "%s" is shown as it is.
// Placeholders beyond the last value stay in the text.
std::string FillMessage(std::string_view text, std::initializer_list<std::string_view> values);
