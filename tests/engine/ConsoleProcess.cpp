#include "ConsoleProcess.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

CConsoleSandbox::CConsoleSandbox() {
    char pattern[] = "/tmp/tarn-console-XXXXXX";
    m_root = mkdtemp(pattern);
    m_programDir = m_root + "/bin/";
    m_homeDir = m_root + "/home/";
    m_runtimeDir = m_root + "/run/";
    fs::create_directories(m_programDir);
    fs::create_directories(m_homeDir);
    fs::create_directory(m_runtimeDir);
    fs::permissions(m_runtimeDir, fs::perms::owner_all);
    // A private copy, so that catalogues and a fake gateway can be put beside it
    // (without the test programs that live there too).
    for (const auto& item : fs::directory_iterator(TARN_BIN_DIR))
        if (item.is_regular_file() && !item.path().filename().string().ends_with("_tests"))
            fs::copy_file(item.path(), m_programDir + item.path().filename().string());
    m_outPath = m_root + "/stdout";
    m_errPath = m_root + "/stderr";
    m_env = {{"PATH", "/usr/bin:/bin"},       {"TARN_HOME", m_homeDir},
             {"XDG_RUNTIME_DIR", m_runtimeDir}, {"LANG", "de_DE.UTF-8"},
             {"HOME", m_root}};
    for (const char* pass : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (const char* value = std::getenv(pass))
            m_env[pass] = value;
}

CConsoleSandbox::~CConsoleSandbox() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    // Ends a gateway that a console of this sandbox started.
    Shell("pkill -f '^" + m_programDir + "TARN_Gateway' >/dev/null 2>&1");
    fs::remove_all(m_root);
}

bool CConsoleSandbox::InitHome() {
    fs::remove_all(m_homeDir);
    return Shell(std::string(TARN_BIN_DIR) + "/tarn-admin init '" + m_homeDir + "' >/dev/null") == 0;
}

void CConsoleSandbox::WriteFile(const std::string& path, const std::string& text) const {
    std::ofstream(path, std::ios::binary) << text;
}

std::string CConsoleSandbox::ReadFile(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

int CConsoleSandbox::Shell(const std::string& command) {
    std::string line;
    for (const auto& [name, value] : m_env)
        line += name + "='" + value + "' ";
    int status = std::system(("env -i " + line + "/bin/sh -c \"" + command + "\"").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

pid_t CConsoleSandbox::Start(const std::vector<std::string>& args) {
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : m_env)
        envStrings.push_back(name + "=" + value);
    std::string program = m_programDir + "TARN";
    m_pid = ::fork();
    if (m_pid == 0) {
        int out = ::open(m_outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = ::open(m_errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::chdir(m_root.c_str());
        std::vector<char*> argv{program.data()};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : envStrings)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    return m_pid;
}

bool CConsoleSandbox::WaitForOutput(const std::string& text, int timeoutSeconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (ReadFile(m_outPath).find(text) != std::string::npos)
            return true;
        if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

ProcessResult CConsoleSandbox::Collect(int timeoutSeconds) {
    ProcessResult result;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    while (m_pid > 0) {
        pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            m_pid = -1;
        } else if (std::chrono::steady_clock::now() > deadline) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    result.out = ReadFile(m_outPath);
    result.err = ReadFile(m_errPath);
    return result;
}

ProcessResult CConsoleSandbox::Run(const std::vector<std::string>& args, int timeoutSeconds) {
    Start(args);
    return Collect(timeoutSeconds);
}

ProcessResult CConsoleSandbox::Stop(int timeoutSeconds) {
    if (m_pid > 0)
        ::kill(m_pid, SIGTERM);
    return Collect(timeoutSeconds);
}
