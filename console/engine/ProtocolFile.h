// The line format of the event view's protocol file and of a saved event view:
// "[time] [kind word] [audition] [computer]: text".
#pragma once

#include <string>

std::string FormatProtocolLine(const std::string& timeText, int kind, const std::string& audition,
                               const std::string& computer, const std::string& text);
// Appends one formatted line, creating the file when missing; false on any file error.
bool AppendProtocolLine(const std::string& path, const std::string& line);
