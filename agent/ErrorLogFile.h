// The agent log *C*.log in the computer's exchange directory: the agent
// appends one line per error; the console marks the lines it has taken over by
// overwriting their date with zeros. Both sides lock the whole file with an
// fcntl write lock while they work on it; the agent retries while the console
// holds it and keeps the lines for the next round when it still cannot.
#pragma once

#include "DataDirectory.h"
#include "ErrorLine.h"

#include <deque>
#include <string>

class CErrorLogFile {
public:
    CErrorLogFile(const CDataDirectory& exchange, std::string computer, size_t maxSize);

    // Creates an empty log when there is none: the console stops an audition
    // whose log it cannot open.
    bool EnsureExists() const;
    // Queues a line; Flush writes the queue.
    void Add(const ErrorLine& line);
    // Appends every queued line with one write under the lock; false (the
    // lines stay queued) when the console holds the file for too long.
    bool Flush();
    bool HasQueuedLines() const { return !m_queue.empty(); }
    // When the file has grown beyond the limit: rewrites it under the lock
    // without the lines the console has marked. Unmarked lines stay, in order.
    bool Trim() const;

    std::string FileName() const { return m_strComputer + ".log"; }

private:
    const CDataDirectory& m_exchange;
    std::string m_strComputer;
    size_t m_nMaxSize;
    std::deque<std::string> m_queue;
};

// The text without the lines whose date the console has marked (begins with "0").
std::string DropMarkedLines(const std::string& text);
