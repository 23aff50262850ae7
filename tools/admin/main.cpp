// tarn-admin: administration tool of TARN! (tarn-admin <command> [args]).
#include "AdminCommands.h"
#include "AppPaths.h"
#include "LanguageSelection.h"
#include "ProgramOptions.h"
#include "QtCatalogueLoader.h"

#include <cstring>
#include <iostream>

namespace {

void PrintUsage(std::ostream& out) {
    out << "usage: tarn-admin <command> [args...]\n"
           "       tarn-admin --help | --version | tarn-admin <command> --help\n\ncommands:\n";
    for (size_t i = 0; i < kAdminCommandCount; ++i)
        out << "  " << kAdminCommands[i].usage << "\n";
}

const AdminCommand* FindCommand(const char* name) {
    for (size_t i = 0; i < kAdminCommandCount; ++i) {
        if (std::strcmp(kAdminCommands[i].name, name) == 0)
            return &kAdminCommands[i];
    }
    return nullptr;
}

// The texts of the string table in the user's language, by the console's
// start-up rules; the tool's own usage texts are English.
void SelectLanguage() {
    CQtCatalogueLoader loader;
    LoadCatalogueOfLanguage(loader, GetProgramDirectory(), GetUserPrimaryLanguage());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(std::cerr);
        return 2;
    }
    const char* word = argv[1];
    if (std::strcmp(word, "--version") == 0) {
        std::cout << ProgramVersionText("tarn-admin");
        return 0;
    }
    if (std::strcmp(word, "--help") == 0 || std::strcmp(word, "-h") == 0 ||
        std::strcmp(word, "help") == 0) {
        if (argc > 2) {
            const AdminCommand* command = FindCommand(argv[2]);
            if (!command) {
                std::cerr << "tarn-admin: unknown command: " << argv[2] << "\n";
                return 2;
            }
            std::cout << "usage: tarn-admin " << command->usage << "\n";
            return 0;
        }
        PrintUsage(std::cout);
        return 0;
    }
    const AdminCommand* command = FindCommand(word);
    if (!command) {
        std::cerr << "tarn-admin: unknown command: " << word << "\n"
                  << "Run \"tarn-admin --help\" for the list of commands.\n";
        return 2;
    }
    AdminArgs args(argv + 2, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << "usage: tarn-admin " << command->usage << "\n";
        return 0;
    }
    SelectLanguage();
    return command->run(args);
}
