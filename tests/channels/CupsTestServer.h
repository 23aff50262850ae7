// A private CUPS scheduler for the print tests: cupsd in the foreground on a
// Unix-domain socket of a temporary directory (no network at all), with raw
// queues on a capture back end of its own that stores every job's bytes and
// title in the queue's folder.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

struct CapturedJob {
    std::string title;
    std::string data;
};

class CCupsTestServer {
public:
    CCupsTestServer() = default;
    ~CCupsTestServer();
    CCupsTestServer(const CCupsTestServer&) = delete;
    CCupsTestServer& operator=(const CCupsTestServer&) = delete;

    // Starts cupsd with a raw capture queue for each name; false with the reason.
    bool Start(const std::vector<std::string>& queues, std::string& error);
    // The value for CUPS_SERVER.
    std::string Socket() const { return m_dir + "cups.sock"; }
    // Waits until the queue has captured count jobs; returns those it has, oldest first.
    std::vector<CapturedJob> WaitForJobs(const std::string& queue, size_t count,
                                         std::chrono::seconds limit) const;
    std::string ErrorLog() const;

private:
    std::vector<CapturedJob> Jobs(const std::string& queue) const;
    bool WriteConfiguration(std::string& error) const;
    bool AddQueue(const std::string& queue, std::string& error) const;

    std::string m_dir; // ends with "/"
    pid_t m_pid = -1;
};

// The text of a PDF as pdftotext reads it; empty when pdftotext is missing.
std::string PdfText(const std::string& pdf);
