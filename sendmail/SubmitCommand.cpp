#include "SubmitCommand.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The shell runs the command line ($1) and reports its exit status on fd 3.
// The status travels through a pipe rather than waitpid, so that it arrives
// even in a host process that ignores SIGCHLD (which discards exit statuses);
// the command itself does not get fd 3, so a daemon it leaves behind cannot
// hold the pipe open.
constexpr const char* kReportingShell = "(eval \"$1\") 3>&-; echo $? >&3";
constexpr int kStatusFd = 3;

// posix_spawn attributes: a process group of its own (so that a hung command
// can be killed with its children), default signal handling, nothing blocked.
struct SpawnAttributes {
    posix_spawnattr_t attributes;
    SpawnAttributes() {
        posix_spawnattr_init(&attributes);
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        for (int signal : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP})
            sigaddset(&defaults, signal);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setpgroup(&attributes, 0);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                                  POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes); }
};

// Standard input from the message, standard output discarded, the status pipe
// as fd 3; standard error stays with the caller so that complaints are seen.
struct SpawnFiles {
    posix_spawn_file_actions_t actions;
    SpawnFiles(int input, int status) {
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, status, kStatusFd);
    }
    ~SpawnFiles() { posix_spawn_file_actions_destroy(&actions); }
};

// The exit status the shell reports, or -1 when it reports none in time.
int ReadReportedStatus(int pipe, int timeoutSeconds) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
    std::string report;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return -1;
        pollfd watch{pipe, POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return -1;
        char chunk[16];
        const ssize_t got = ::read(pipe, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return -1; // the shell ended without a report: killed
        report.append(chunk, static_cast<size_t>(got));
        if (report.back() == '\n')
            return std::atoi(report.c_str());
    }
}

} // namespace

bool CSubmitCommand::Submit(int messageFile) const {
    if (::lseek(messageFile, 0, SEEK_SET) != 0)
        return false;
    int status[2];
    if (::pipe2(status, O_CLOEXEC) != 0)
        return false;
    SpawnAttributes attributes;
    SpawnFiles files(messageFile, status[1]);
    const char* argv[] = {"sh", "-c", kReportingShell, "sh", m_strCommand.c_str(), nullptr};
    pid_t pid = 0;
    const bool started = ::posix_spawn(&pid, "/bin/sh", &files.actions, &attributes.attributes,
                                       const_cast<char**>(argv), environ) == 0;
    ::close(status[1]);
    int exitStatus = -1;
    if (started) {
        exitStatus = ReadReportedStatus(status[0], m_nTimeoutSeconds);
        if (exitStatus < 0)
            ::kill(-pid, SIGKILL);
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    ::close(status[0]);
    return exitStatus == 0;
}
