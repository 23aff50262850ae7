// tarn-agent: the agent of one watched Linux computer. It reports failed
// systemd units, ended applications and journal errors to the TARN console
// through the shared data directory, and carries out the console's commands.
#include "Agent.h"
#include "AgentConfig.h"
#include "AgentLog.h"
#include "ProgramOptions.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

constexpr const char* kUsage =
    "Usage: tarn-agent [--config FILE] [--once]\n"
    "Reports failed services, ended applications and journal errors of this\n"
    "computer to the TARN console through its data directory, and carries out\n"
    "the console's restart commands.\n"
    "\n"
    "  --config FILE  the configuration file (default /etc/tarn/agent.ini)\n"
    "  --once         one round, then exit (for cron and tests)\n"
    "  --help         this text\n"
    "  --version      the program's name and version\n"
    "\n"
    "Exit status: 0 after an orderly stop, 1 for a bad configuration or an\n"
    "unusable data directory, 2 for bad arguments.\n";

struct Arguments {
    std::string config = kDefaultConfigFile;
    bool once = false;
};

bool ParseArguments(int argc, char** argv, Arguments& arguments) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--once")
            arguments.once = true;
        else if (argument == "--config" && i + 1 < argc)
            arguments.config = argv[++i];
        else if (argument.rfind("--config=", 0) == 0)
            arguments.config = argument.substr(9);
        else
            return false;
    }
    return true;
}

// SIGTERM, SIGINT and SIGHUP arrive through a descriptor the round loop polls.
int StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&signals, signal);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return signalfd(-1, &signals, SFD_CLOEXEC);
}

} // namespace

int main(int argc, char** argv) {
    if (AnswerStandardOption(argc, argv, "tarn-agent", kUsage))
        return 0;
    Arguments arguments;
    if (!ParseArguments(argc, argv, arguments)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    CAgentLog log;
    std::string error;
    std::optional<AgentConfig> config = LoadAgentConfig(arguments.config, error);
    if (!config) {
        log.Error("bad configuration: " + error);
        return 1;
    }
    const int signals = StopSignals();
    CAgent agent(std::move(*config), log);
    if (!agent.Start())
        return 1;
    log.Info("started");
    do
        agent.Round();
    while (!arguments.once && agent.WaitForNextRound(signals));
    agent.Stop();
    log.Info("stopped");
    ::close(signals);
    return 0;
}
