#include "HeadlessConsole.h"

#include "HeadlessEventView.h"
#include "ReactivationSetting.h"
#include "StringTable.h"
#include "TARNTool.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace {

constexpr unsigned IDS_CONSOLE_STARTED = 7001;
constexpr unsigned IDS_CONSOLE_STOPPED = 7002;

sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

} // namespace

void BlockStopSignals() {
    sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

int RunHeadless(CVigilApp& app) {
    CGlobalSettings& settings = app.Settings();
    std::printf("%s\n%s Console\n", settings.ApplicationTitle.c_str(),
                settings.ApplicationTitle.c_str());
    std::fflush(stdout);
    CHeadlessEventView events([&settings] { return settings.GetProtocolFile(); });
    events.AddEventViewLine(EVENT_VIEW_INFO, "", "", LoadTarnString(IDS_CONSOLE_STARTED));

    sigset_t signals = StopSignals();
    int received = 0;
    sigwait(&signals, &received);

    events.AddEventViewLine(EVENT_VIEW_INFO, "", "", LoadTarnString(IDS_CONSOLE_STOPPED));
    if (CGatewayLink* gateway = app.GetGatewayLink())
        gateway->Quit();
    WriteReactivationSetting(settings.RegistryFile, settings.GetReactivate());
    app.ExitInstance();
    return 0;
}
