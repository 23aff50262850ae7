#include "ProgramOptions.h"

#include <cstdio>
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

bool AnswerStandardOption(int argc, char** argv, const std::string& program,
                          const std::string& usage) {
    const StandardOption option = FindStandardOption(argc, argv);
    if (option == StandardOption::None)
        return false;
    const std::string text = option == StandardOption::Help ? usage : ProgramVersionText(program);
    std::fputs(text.c_str(), stdout);
    return true;
}
