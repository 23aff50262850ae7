#include "ProtocolFile.h"

#include "TARNTool.h"

#include <cstdio>

std::string FormatProtocolLine(const std::string& timeText, int kind, const std::string& audition,
                               const std::string& computer, const std::string& text) {
    return "[" + timeText + "] [" + GetEventViewKindWord(static_cast<EventViewKind>(kind)) + "] [" +
           audition + "] [" + GetComputerDisplayText(computer) + "]: " + text + "\n";
}

bool AppendProtocolLine(const std::string& path, const std::string& line) {
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (!file)
        return false;
    bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
    return std::fclose(file) == 0 && written;
}
