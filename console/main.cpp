// TARN: the console program.
#include "CHeadlessDBReporter.h"
#include "ChannelFactory.h"
#include "HeadlessConsole.h"
#include "ProgramOptions.h"
#include "QtCatalogueLoader.h"
#include "QtDocumentPrinter.h"
#include "VigilApp.h"

#include <QGuiApplication>
#ifdef TARN_DESKTOP
#include "DesktopConsole.h"

#include <QApplication>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* kUsage =
    "Usage: TARN [--headless] [--convert]\n"
    "       TARN --help | --version\n"
    "\n"
    "The TARN! network-monitoring console.\n"
    "\n"
    "Options:\n"
    "  --headless  run without a window: event lines go to standard output and\n"
    "              the protocol file; SIGINT or SIGTERM ends the console.\n"
    "              Without it the console opens its window when a display is\n"
    "              there (DISPLAY or WAYLAND_DISPLAY), and runs headless otherwise\n"
    "  --convert   answer yes when an older configuration database is to be\n"
    "              converted (without it, such a start ends)\n"
    "  --help      show this text\n"
    "  --version   show the version\n"
    "\n"
    "Environment:\n"
    "  TARN_HOME        installation directory: TARN.MDB, HISTORY.MDB, Plugins/,\n"
    "                   registry.ini (default: the program's directory)\n"
    "  TARN_REGISTRY    the registry file (default: $TARN_HOME/registry.ini)\n"
    "  XDG_RUNTIME_DIR  where the gateway's socket lies (default /tmp/tarn-<uid>/)\n"
    "  LC_ALL, LC_MESSAGES, LANG\n"
    "                   the language of texts and help (TARN_C_LNG_xx.qm catalogues)\n"
    "\n"
    "Start-up messages go to standard error; the exit status is 0 after a clean\n"
    "stop and 1 when the start failed.\n";

struct Options {
    bool headless = false;
    bool convert = false;
    std::string unknown;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--headless"))
            options.headless = true;
        else if (!std::strcmp(argv[i], "--convert"))
            options.convert = true;
        else if (options.unknown.empty())
            options.unknown = argv[i];
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    if (AnswerStandardOption(argc, argv, "TARN", kUsage))
        return 0;
    Options options = ParseOptions(argc, argv);
    if (!options.unknown.empty()) {
        std::fprintf(stderr, "TARN: unknown option '%s'\n\n%s", options.unknown.c_str(), kUsage);
        return 2;
    }
    BlockStopSignals();
#ifdef TARN_DESKTOP
    if (!options.headless && HasDisplay()) {
        QApplication application(argc, argv);
        CQtDocumentPrinter printer;
        return RunDesktop([&printer](CVigilApp& app) {
            ConsoleEngineOptions engineOptions;
            engineOptions.MakeChannels = MakeConsoleChannelFactory(app.GetGatewayLink(), printer);
            return engineOptions;
        });
    }
#else
    if (!options.headless)
        std::fputs("TARN: the desktop interface is not part of this build; running headless.\n",
                   stderr);
#endif

    // Printing draws through Qt; without a display it uses the offscreen platform.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    CHeadlessDBReporter reporter(options.convert ? DBPromptAnswer::Yes : DBPromptAnswer::No);
    CQtCatalogueLoader catalogues;
    CVigilApp app(reporter, reporter, &catalogues);
    if (!app.InitInstance()) {
        app.ExitInstance();
        return 1;
    }
    CQtDocumentPrinter printer;
    ConsoleEngineOptions engineOptions;
    engineOptions.MakeChannels = MakeConsoleChannelFactory(app.GetGatewayLink(), printer);
    return RunHeadless(app, std::move(engineOptions));
}
