// The gateway's listening socket and its request loop: one request per
// connection, served one after another on the only thread.
#pragma once

#include "tarn/GatewayRequest.h"

#include <cstdint>
#include <string>

class CGatewayServer {
public:
    // runtimeDirectory ends with "/"; the socket and the lock file lie there.
    explicit CGatewayServer(std::string runtimeDirectory);
    ~CGatewayServer();
    CGatewayServer(const CGatewayServer&) = delete;
    CGatewayServer& operator=(const CGatewayServer&) = delete;

    enum class ListenResult { Listening, AlreadyRunning, Failed };
    // Takes the single-instance lock, replaces a stale socket file and listens.
    // A gateway that already holds the lock is left alone: AlreadyRunning.
    ListenResult Listen();
    // Serves requests until GATEWAY_QUIT has been answered.
    void Run();

private:
    std::string m_socketPath;
    std::string m_lockPath;
    int m_lockFd = -1;
    int m_listenFd = -1;
    GatewayRequest m_request{}; // copy of the last accepted request

    // Serves one accepted connection; returns false when the gateway must end.
    bool Serve(int connection);
    bool IsOwnUser(int connection) const;
    int32_t Handle(int32_t code);
};
