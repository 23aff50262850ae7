// Runs the console program from a private copy of the program directory, with
// its own installation and runtime directories, and captures what it prints.
#pragma once

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

struct ProcessResult {
    int exitStatus = -1; // -1 when it did not end in time (it was killed)
    std::string out;
    std::string err;
};

class CConsoleSandbox {
public:
    CConsoleSandbox();
    ~CConsoleSandbox();

    const std::string& ProgramDir() const { return m_programDir; } // with trailing "/"
    const std::string& HomeDir() const { return m_homeDir; }       // with trailing "/"
    std::map<std::string, std::string>& Environment() { return m_env; }

    // tarn-admin init of the installation directory.
    bool InitHome();
    void WriteFile(const std::string& path, const std::string& text) const;
    std::string ReadFile(const std::string& path) const;

    // Runs TARN with the arguments and waits at most timeoutSeconds.
    ProcessResult Run(const std::vector<std::string>& args, int timeoutSeconds);
    // Starts TARN in the background; Stop sends SIGTERM and collects the result.
    pid_t Start(const std::vector<std::string>& args);
    bool WaitForOutput(const std::string& text, int timeoutSeconds);
    ProcessResult Stop(int timeoutSeconds);
    // Runs a command line through /bin/sh with the sandbox's environment.
    int Shell(const std::string& command);

private:
    std::string m_root, m_programDir, m_homeDir, m_runtimeDir;
    std::map<std::string, std::string> m_env;
    pid_t m_pid = -1;
    std::string m_outPath, m_errPath;

    ProcessResult Collect(int timeoutSeconds);
};
