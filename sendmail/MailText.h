// UTF-8 text helpers of the mail library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The longest prefix of at most maxBytes bytes that does not cut a UTF-8 character.
std::string_view CutUtf8(std::string_view text, size_t maxBytes);

// The pieces between the ";" of a recipient list; "" gives one empty piece.
std::vector<std::string_view> SplitRecipients(std::string_view list);

// Control characters (CR, LF, tab, ...) replaced by spaces: text that goes
// into a header must stay on its line.
std::string OneLine(std::string_view text);
