#include "ErrorLine.h"

#include "TextEncoding.h"

namespace {

std::string FieldText(const std::string& text) {
    std::string field = DecodeExternalText(text);
    for (char& c : field) {
        if (c == ';')
            c = ',';
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    }
    return field;
}

} // namespace

std::string TimeStampText(std::time_t when) {
    std::tm local{};
    ::localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
    return text;
}

std::string FormatErrorLine(const std::string& computer, const ErrorLine& line) {
    const std::string description = CutToCharacters(
        std::string(TrimBlanks(FieldText(line.Description))), kDescriptionCharacters);
    return TimeStampText(line.When) + ";" + FieldText(computer) + ";" +
           std::to_string(line.Source) + ";" + FieldText(line.SourceName) + ";" +
           FieldText(line.Module) + ";" + std::to_string(line.Type) + ";" +
           std::to_string(line.Category) + ";" + FieldText(line.InfoId) + ";" + description + "\n";
}
