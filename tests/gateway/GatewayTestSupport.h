// Helpers of the gateway tests: a private runtime directory per test, the
// gateway process found through its socket, raw exchanges, a loopback SMTP server.
#pragma once

#include "tarn/GatewayRequest.h"

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

std::string GatewayProgram();

// A fresh runtime directory, named in XDG_RUNTIME_DIR while the object lives, so
// that every test has a socket of its own. Makes this process the reaper of the
// gateways it starts detached, and kills the one still listening at the end.
class CTestRuntimeDir {
public:
    CTestRuntimeDir();
    ~CTestRuntimeDir();
    const std::string& Path() const { return m_path; } // ends with "/"
    std::string SocketPath() const { return m_path + GATEWAY_SOCKET_NAME; }

private:
    std::string m_path;
};

// The process listening on socketPath (its SO_PEERCRED), or -1 when none listens.
pid_t GatewayPid(const std::string& socketPath);
// Waits until socketPath answers connections, or the time passes.
bool WaitForListener(const std::string& socketPath, std::chrono::milliseconds limit);
// Waits for the end of a child (or reaped orphan) of this process.
bool WaitForExit(pid_t pid, std::chrono::milliseconds limit, int* status = nullptr);
// Starts TARN_Gateway (or the given command line) as a child of this process.
pid_t SpawnProcess(const std::vector<std::string>& argv);

// A Unix-domain stream socket connected to path, or -1.
int ConnectUnix(const std::string& path);
// A Unix-domain stream socket bound to path (listening when listen is set), or -1.
int BindUnix(const std::string& path, bool listen);

// Sends bytes as one request, shuts down the sending side unless told not to,
// and reads the answer; none when the gateway closes the connection without one.
std::optional<int32_t> RawExchange(const std::string& socketPath, const std::string& bytes,
                                   bool shutDownSending = true);
std::string RequestBytes(int32_t code, const GatewayRequest& request);

// Runs a shell command quietly; true when it exits with 0.
bool Shell(const std::string& command);

// The loopback SMTP server of smtp_server.py; Port() is 0 when it did not start.
class CSmtpTestServer {
public:
    // options: further arguments of smtp_server.py (--starttls, --login, ...).
    explicit CSmtpTestServer(const std::vector<std::string>& options = {});
    ~CSmtpTestServer();
    unsigned Port() const { return m_port; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }
    // The stored messages and envelopes, oldest first.
    std::vector<std::string> Messages() const;
    std::vector<std::string> Envelopes() const;

private:
    std::string m_store;
    pid_t m_pid = -1;
    unsigned m_port = 0;
    std::vector<std::string> Files(const std::string& extension) const;
};

// A TCP socket listening on 127.0.0.1 on a free port, or -1; port receives the port.
int LoopbackListener(unsigned& port);
// A loopback TCP port on which nothing listens (bound once, then released).
unsigned FreeLoopbackPort();
