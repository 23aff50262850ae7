// The profile's submission command: a shell command line that takes one
// complete RFC 5322 message on standard input and exits with 0 once it has
// accepted it, as "sendmail -t -oi" does.
#pragma once

#include <string>

class CSubmitCommand {
public:
    CSubmitCommand(std::string command, int timeoutSeconds)
        : m_strCommand(std::move(command)), m_nTimeoutSeconds(timeoutSeconds) {}

    // Runs the command with the message file as standard input (read from its
    // start). True when it exited with 0 within the time-out; a command still
    // running then is killed with its process group and counts as failed.
    bool Submit(int messageFile) const;

private:
    std::string m_strCommand;
    int m_nTimeoutSeconds;
};
