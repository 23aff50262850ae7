// Runs one shell command line with a time-out and collects the start of its
// output. The command runs in a process group of its own with standard input
// from /dev/null; when it outlives the time-out, writes more than the output
// limit, or the caller cancels it, the whole group is killed. Whatever the
// command does, Run returns within the time-out (plus the moment it takes to
// reap the killed process).
#pragma once

#include <chrono>
#include <string>
#include <vector>

struct CommandOutcome {
    enum class Kind {
        Exited,         // ExitCode holds the exit status
        Signalled,      // Signal holds the signal that ended it
        NotStarted,     // Error holds the reason
        TimedOut,       // killed at the time-out
        OutputTooLarge, // killed after writing more than the limit
        Cancelled,      // killed because the caller asked for it
    };
    Kind Result = Kind::NotStarted;
    int ExitCode = 0;
    int Signal = 0;
    std::string Error;
    std::string Output;      // standard output, at most the limit
    std::string ErrorOutput; // standard error, at most the limit
};

class CCommandRunner {
public:
    CCommandRunner(std::chrono::milliseconds timeout, size_t nOutputLimit)
        : m_timeout(timeout), m_nOutputLimit(nOutputLimit) {}

    // Runs "/bin/sh -c strCommand" with the environment of the process plus
    // the given "NAME=value" entries. When nCancelFd (-1: none) becomes
    // readable, the command's group is killed and Run returns at once.
    CommandOutcome Run(const std::string& strCommand,
                       const std::vector<std::string>& extraEnvironment, int nCancelFd = -1) const;

private:
    std::chrono::milliseconds m_timeout;
    size_t m_nOutputLimit;
};
