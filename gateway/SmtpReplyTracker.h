// Remembers the command that the server's last refusal (a 4xx or 5xx reply)
// answered, because libcurl reports a refused sender and a refused recipient
// alike. Fed with the lines libcurl sends and receives (its debug callback).
#pragma once

#include <string>
#include <string_view>

class CSmtpReplyTracker {
public:
    // A command line sent: its verb is what the next replies answer.
    void OnCommand(std::string_view line);
    // Reply text received, one or more lines.
    void OnReply(std::string_view text);
    // A refusal before the login belongs to connecting: greeting, EHLO, HELO,
    // STARTTLS. A refused login is the server's refusal like a refused sender.
    bool RefusedAfterConnect() const;

    const std::string& LastCommand() const { return m_lastCommand; }
    bool Refused() const { return m_refused; }
    const std::string& RefusedCommand() const { return m_refusedCommand; }

private:
    std::string m_lastCommand;    // verb of the last command sent, "" before the first
    std::string m_refusedCommand; // verb the last refusal answered, "" for the greeting
    bool m_refused = false;
};
