#include "SubmitCommand.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// posix_spawn attributes: a process group of its own (so that a hung command
// can be killed with its children), default signal handling, nothing blocked.
struct SpawnAttributes {
    posix_spawnattr_t attributes;
    SpawnAttributes() {
        posix_spawnattr_init(&attributes);
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        sigaddset(&defaults, SIGCHLD);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGTERM);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setpgroup(&attributes, 0);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                                  POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes); }
};

// Standard input from the message, standard output discarded; standard error
// stays with the caller so that the command's complaints are not lost.
struct SpawnFiles {
    posix_spawn_file_actions_t actions;
    explicit SpawnFiles(int input) {
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    ~SpawnFiles() { posix_spawn_file_actions_destroy(&actions); }
};

int WaitRetrying(pid_t pid, int options) {
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(pid, &status, options);
    } while (done < 0 && errno == EINTR);
    if (done <= 0)
        return -1;
    return status;
}

// Waits for the child until the time-out; kills its group when it is still running.
int WaitWithTimeout(pid_t pid, int timeoutSeconds) {
    const int exited = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (exited < 0)
        return WaitRetrying(pid, 0); // kernel without pidfd: wait without a limit
    pollfd watch{exited, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&watch, 1, timeoutSeconds * 1000);
    } while (ready < 0 && errno == EINTR);
    ::close(exited);
    if (ready <= 0) {
        ::kill(-pid, SIGKILL);
        WaitRetrying(pid, 0);
        return -1;
    }
    return WaitRetrying(pid, 0);
}

} // namespace

bool CSubmitCommand::Submit(int messageFile) const {
    if (::lseek(messageFile, 0, SEEK_SET) != 0)
        return false;
    SpawnAttributes attributes;
    SpawnFiles files(messageFile);
    const char* argv[] = {"sh", "-c", m_strCommand.c_str(), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, "/bin/sh", &files.actions, &attributes.attributes,
                      const_cast<char**>(argv), environ) != 0)
        return false;
    const int status = WaitWithTimeout(pid, m_nTimeoutSeconds);
    return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
