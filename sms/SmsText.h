// Message text on its way to the centre: UTF-8 in, one byte per character
// (Windows-1252) for the protocols' character tables, cut to the network's limit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace SmsText {

// A character without a Windows-1252 form becomes "?". Bytes that are not
// well-formed UTF-8 are taken as Windows-1252 characters already.
std::string Utf8ToWindows1252(std::string_view utf8);

// The network's limit less the sender's length, never below 0.
size_t MessageLimit(size_t networkLimit, size_t senderLength);

// A text longer than the limit keeps `limit` characters, the last three being
// "..."; a text at or below the limit is left whole.
std::string CutMessage(std::string text, size_t limit);

} // namespace SmsText
