// Field functions for texts made of fields separated by one character, such
// as the lines of an agent log ("a;b;c") and the lists of the global
// configuration file. Each call returns a new text; nothing is shared.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// 0 for an empty text, otherwise the number of separators plus one.
size_t CountFields(std::string_view text, char separator);
// The n-th field, counting from 1: the characters after the (n-1)-th separator
// up to the next separator or the end; empty when there are fewer than n-1
// separators (and for n = 0). Field 1 of a text that begins with the separator
// is the text between the first and the second separator.
std::string GetField(std::string_view text, size_t n, char separator);
// True when one field of the list equals the value, ignoring the case of ASCII letters.
bool IsInList(std::string_view list, char separator, std::string_view value);
