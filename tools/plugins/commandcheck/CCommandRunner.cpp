#include "CCommandRunner.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// A pipe whose ends are closed with the object.
struct Pipe {
    int fds[2] = {-1, -1};
    bool Open() { return ::pipe2(fds, O_CLOEXEC) == 0; }
    void CloseRead() { CloseEnd(0); }
    void CloseWrite() { CloseEnd(1); }
    ~Pipe() {
        CloseEnd(0);
        CloseEnd(1);
    }

private:
    void CloseEnd(int n) {
        if (fds[n] >= 0)
            ::close(fds[n]);
        fds[n] = -1;
    }
};

int RemainingMilliseconds(Clock::time_point deadline) {
    auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return remaining.count() > 0 ? static_cast<int>(remaining.count()) : 0;
}

// The child starts with default signal handling and nothing blocked, in a
// process group of its own, so that the group can be killed as one.
class SpawnSetup {
public:
    SpawnSetup(const Pipe& out, const Pipe& err) {
        ::posix_spawnattr_init(&m_attr);
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&m_attr, &none);
        ::posix_spawnattr_setsigdefault(&m_attr, &all);
        ::posix_spawnattr_setpgroup(&m_attr, 0);
        ::posix_spawnattr_setflags(&m_attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                                POSIX_SPAWN_SETSIGDEF);
        ::posix_spawn_file_actions_init(&m_actions);
        ::posix_spawn_file_actions_addopen(&m_actions, 0, "/dev/null", O_RDONLY, 0);
        ::posix_spawn_file_actions_adddup2(&m_actions, out.fds[1], 1);
        ::posix_spawn_file_actions_adddup2(&m_actions, err.fds[1], 2);
        ::posix_spawn_file_actions_addclosefrom_np(&m_actions, 3);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&m_actions);
        ::posix_spawnattr_destroy(&m_attr);
    }
    const posix_spawn_file_actions_t* Actions() const { return &m_actions; }
    const posix_spawnattr_t* Attributes() const { return &m_attr; }

private:
    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attr;
};

// Reads what is there; false at the end of the stream (or an error).
bool ReadAvailable(int fd, std::string& strBuffer) {
    char chunk[4096];
    ssize_t nRead;
    do {
        nRead = ::read(fd, chunk, sizeof chunk);
    } while (nRead < 0 && errno == EINTR);
    if (nRead <= 0)
        return false;
    strBuffer.append(chunk, static_cast<size_t>(nRead));
    return true;
}

void KillGroup(pid_t pid) {
    ::kill(-pid, SIGKILL);
}

int WaitBlocking(pid_t pid) {
    int nStatus = 0;
    while (::waitpid(pid, &nStatus, 0) < 0 && errno == EINTR) {
    }
    return nStatus;
}

} // namespace

CommandOutcome CCommandRunner::Run(const std::string& strCommand,
                                   const std::vector<std::string>& extraEnvironment,
                                   int nCancelFd) const {
    CommandOutcome outcome;
    const Clock::time_point deadline = Clock::now() + m_timeout;
    Pipe out, err;
    if (!out.Open() || !err.Open()) {
        outcome.Error = std::strerror(errno);
        return outcome;
    }
    std::vector<std::string> environment(extraEnvironment);
    for (char** pEntry = environ; pEntry && *pEntry; ++pEntry)
        environment.emplace_back(*pEntry);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string strShell = "/bin/sh", strFlag = "-c", strLine = strCommand;
    char* argv[] = {strShell.data(), strFlag.data(), strLine.data(), nullptr};

    pid_t pid = 0;
    {
        SpawnSetup setup(out, err);
        int nError =
            ::posix_spawn(&pid, "/bin/sh", setup.Actions(), setup.Attributes(), argv, envp.data());
        if (nError != 0) {
            outcome.Error = std::strerror(nError);
            return outcome;
        }
    }
    out.CloseWrite();
    err.CloseWrite();

    // Collect output until both streams end, the limit is passed, time is up
    // or the caller cancels (a negative descriptor is left out by poll).
    pollfd fds[3] = {{out.fds[0], POLLIN, 0}, {err.fds[0], POLLIN, 0}, {nCancelFd, POLLIN, 0}};
    std::string* buffers[2] = {&outcome.Output, &outcome.ErrorOutput};
    int nOpen = 2;
    while (nOpen > 0) {
        int nReady = ::poll(fds, 3, RemainingMilliseconds(deadline));
        if (nReady < 0 && errno == EINTR)
            continue;
        if (nReady <= 0) {
            outcome.Result = CommandOutcome::Kind::TimedOut;
            break;
        }
        if (fds[2].revents != 0) {
            outcome.Result = CommandOutcome::Kind::Cancelled;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            if (!ReadAvailable(fds[i].fd, *buffers[i])) {
                fds[i].fd = -1;
                --nOpen;
            }
        }
        if (outcome.Output.size() + outcome.ErrorOutput.size() > m_nOutputLimit) {
            outcome.Result = CommandOutcome::Kind::OutputTooLarge;
            break;
        }
    }
    if (nOpen > 0) {
        KillGroup(pid);
        WaitBlocking(pid);
        outcome.Output.resize(std::min(outcome.Output.size(), m_nOutputLimit));
        outcome.ErrorOutput.resize(std::min(outcome.ErrorOutput.size(), m_nOutputLimit));
        return outcome;
    }

    // Both streams ended: wait for the exit within what is left of the time.
    int nStatus = 0;
    pid_t nDone = 0;
    bool bCancelled = false;
    while (!bCancelled && (nDone = ::waitpid(pid, &nStatus, WNOHANG)) == 0 &&
           RemainingMilliseconds(deadline) > 0)
        bCancelled = ::poll(&fds[2], 1, std::min(RemainingMilliseconds(deadline), 10)) > 0;
    // Whatever the command left running in its group goes with it.
    KillGroup(pid);
    if (nDone < 0) {
        outcome.Error = std::strerror(errno);
        return outcome;
    }
    if (nDone == 0) {
        WaitBlocking(pid);
        outcome.Result =
            bCancelled ? CommandOutcome::Kind::Cancelled : CommandOutcome::Kind::TimedOut;
        return outcome;
    }
    if (WIFSIGNALED(nStatus)) {
        outcome.Result = CommandOutcome::Kind::Signalled;
        outcome.Signal = WTERMSIG(nStatus);
    } else {
        outcome.Result = CommandOutcome::Kind::Exited;
        outcome.ExitCode = WEXITSTATUS(nStatus);
    }
    return outcome;
}
