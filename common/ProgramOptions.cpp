#include "ProgramOptions.h"

#include <cstring>

StandardOption FindStandardOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h"))
            return StandardOption::Help;
        if (!std::strcmp(argv[i], "--version"))
            return StandardOption::Version;
    }
    return StandardOption::None;
}

std::string ProgramVersionText(const std::string& program) {
    return program + " " TARN_VERSION_TEXT "\n";
}
