// The gateway's listening socket and its request loops: one request per
// connection, served by a small fixed pool of threads, so that a slow mail
// server never holds up a ping. Connections beyond the pool wait in the
// listen queue until a thread is free.
#pragma once

#include "tarn/GatewayRequest.h"

#include <atomic>
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
    // Serves requests on kWorkerCount threads until GATEWAY_QUIT has been
    // answered; returns when every request taken has been served.
    void Run();

    static constexpr int kWorkerCount = 4;

private:
    std::string m_socketPath;
    std::string m_lockPath;
    int m_lockFd = -1;
    int m_listenFd = -1;
    int m_stopPipe[2] = {-1, -1}; // readable once the gateway ends
    std::atomic<bool> m_stopping{false};

    // One worker: takes connections until the gateway ends.
    void ServeConnections();
    // Serves one accepted connection; returns false when the gateway must end.
    bool Serve(int connection);
    // Stops taking connections; every worker ends after its current request.
    void Stop();
    bool IsOwnUser(int connection) const;
    static int32_t Handle(int32_t code, const GatewayRequest& request);
};
