// tarn-snmp-subagent: hosts an extension-agent library (libSnmpTARN.so by
// default) inside net-snmp's snmpd as an AgentX sub-agent.
#include "AgentXBridge.h"
#include "AppPaths.h"
#include "ExtensionAgent.h"
#include "ProgramOptions.h"
#include "TrapWaiter.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

volatile sig_atomic_t g_stop = 0;

void OnTerminate(int) {
    g_stop = 1;
}

// Without SA_RESTART, so that the main loop's select returns at once.
void CatchTerminationSignals() {
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    // A master that goes away mid-write must not take the sub-agent along.
    signal(SIGPIPE, SIG_IGN);
}

struct SOptions {
    std::string masterSocket;
    std::string library = GetProgramDirectory() + "libSnmpTARN.so";
    bool foreground = false;
};

const char* kUsage = "usage: tarn-snmp-subagent [-f] [-x ADDRESS] [-e LIBRARY]\n"
                     "       tarn-snmp-subagent --help | --version\n"
                     "  -f          stay in the foreground and log to stderr\n"
                     "  -x ADDRESS  the AgentX master's socket (default: net-snmp's)\n"
                     "  -e LIBRARY  the extension-agent library (default: libSnmpTARN.so beside\n"
                     "              this program)\n";

bool ParseOptions(int argc, char** argv, SOptions& options) {
    int option = 0;
    while ((option = getopt(argc, argv, "fx:e:h")) != -1) {
        switch (option) {
        case 'f':
            options.foreground = true;
            break;
        case 'x':
            options.masterSocket = optarg;
            break;
        case 'e':
            options.library = optarg;
            break;
        default:
            return false;
        }
    }
    return optind == argc;
}

} // namespace

int main(int argc, char** argv) {
    if (AnswerStandardOption(argc, argv, "tarn-snmp-subagent", kUsage))
        return 0;
    SOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    CExtensionAgent extension;
    std::string error;
    if (!extension.Load(options.library, error)) {
        std::fprintf(stderr, "tarn-snmp-subagent: %s\n", error.c_str());
        return 1;
    }
    // Detach before anything is created, so that the objects belong to the
    // process that stays.
    if (!options.foreground && daemon(0, 0) != 0) {
        std::perror("tarn-snmp-subagent: daemon");
        return 1;
    }
    CatchTerminationSignals();
    CAgentXBridge bridge(extension);
    bridge.Configure(options.masterSocket, options.foreground);
    if (!bridge.Start()) {
        return 1;
    }
    bridge.Connect();
    CTrapWaiter waiter;
    if (extension.TrapEvent() != nullptr && waiter.Start(extension.TrapEvent())) {
        bridge.WatchTraps(waiter);
    }
    bridge.Run(g_stop);
    waiter.Stop();
    extension.Close();
    bridge.Shutdown();
    return 0;
}
