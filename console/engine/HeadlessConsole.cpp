#include "HeadlessConsole.h"

#include "AppPaths.h"
#include "CHeadlessPluginUI.h"
#include "ConsoleEngine.h"
#include "ConsolePidFile.h"
#include "HeadlessEventView.h"
#include "MessageIds.h"
#include "StringTable.h"
#include "TARNTool.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>

namespace {

sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP); // the configuration changed (tarn-admin --reload)
    return signals;
}

// What closing the configuration sheets does: the notification caches, the
// audition list and the general settings follow the database. Stopped
// auditions are not stored first: the change is already in the database,
// and storing them would undo an activation made by it.
void FollowConfigurationChange(CConsoleEngine& engine, CVigilApp& app, CHeadlessEventView& events) {
    engine.ReloadNotificationCaches();
    engine.SynchronizeAuditionList();
    DBConfiguration configuration;
    if (app.GetDBEngine()->GetConfiguration(configuration)) {
        app.Settings().SetProtocolFile(configuration.PROTOCOLFILE);
        app.Settings().SetDataDirectory(configuration.DATA_DIRECTORY);
    }
    events.AddEventViewLine(EVENT_VIEW_INFO, "", "", LoadTarnString(IDS_CONFIGURATION_RELOADED));
}

} // namespace

// TARN_PASS_PERIOD_MS shortens the wait between two audition passes (for
// demonstrations and tests); anything but a positive number keeps 15 seconds.
void ApplyPeriodFromEnvironment(ConsoleEngineOptions& options) {
    if (const char* period = std::getenv("TARN_PASS_PERIOD_MS")) {
        const long milliseconds = std::strtol(period, nullptr, 10);
        if (milliseconds > 0)
            options.AuditPeriod = std::chrono::milliseconds(milliseconds);
    }
}

void BlockStopSignals() {
    sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

int RunHeadless(CVigilApp& app, ConsoleEngineOptions options) {
    CGlobalSettings& settings = app.Settings();
    std::printf("%s\n%s Console\n", settings.ApplicationTitle.c_str(),
                settings.ApplicationTitle.c_str());
    std::fflush(stdout);
    CHeadlessEventView events([&settings] { return settings.GetProtocolFile(); });
    events.AddEventViewLine(EVENT_VIEW_INFO, "", "", LoadTarnString(IDS_CONSOLE_STARTED));
    ApplyPeriodFromEnvironment(options);
    {
        CHeadlessPluginUI pluginUI(false);
        CConsoleEngine engine(*app.GetDBEngine(), settings, app.GetGatewayLink(), events, pluginUI,
                              std::move(options));
        engine.InitializeFrame();
        if (settings.GetReactivate())
            engine.SynchronizeAuditionList();

        CConsolePidFile pidFile(GetInstallationDirectory());
        pidFile.Write();
        sigset_t signals = StopSignals();
        int received = 0;
        while (sigwait(&signals, &received) == 0 && received == SIGHUP)
            FollowConfigurationChange(engine, app, events);
        engine.ShutdownFrame();
    }
    events.AddEventViewLine(EVENT_VIEW_INFO, "", "", LoadTarnString(IDS_CONSOLE_STOPPED));
    app.ExitInstance();
    return 0;
}
