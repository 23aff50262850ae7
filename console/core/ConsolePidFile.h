// The file by which tools find the headless console that runs on an
// installation: "TARN-console-<hash of the installation directory>.pid" in
// the user's runtime directory, holding "<pid> <start time>\n<installation>\n".
// The start time (from /proc) tells a running console from a later process
// that got the same number.
//
// The runtime directory belongs to the user (XDG_RUNTIME_DIR or a 0700
// folder), but the file is still opened without following links, without
// blocking, only as a regular file of this user, and read up to 4 KiB.
#pragma once

#include <string>
#include <sys/types.h>

class CConsolePidFile {
public:
    // The file of the installation directory (with its trailing separator).
    explicit CConsolePidFile(std::string installation);
    // Removes the file when it was written by this object and still names this process.
    ~CConsolePidFile();
    CConsolePidFile(const CConsolePidFile&) = delete;
    CConsolePidFile& operator=(const CConsolePidFile&) = delete;

    // Writes the file for this process (beside it first, then renamed).
    bool Write();
    // The process of a console that runs on the installation, or 0.
    pid_t FindConsole() const;

    std::string Name() const { return m_name; }

private:
    std::string m_installation;
    std::string m_name;
    bool m_written = false;

    std::string ReadText() const;
};
