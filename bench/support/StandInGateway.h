// A stand-in for the gateway program on the gateway's socket below the given
// runtime directory: answers every request with 0 ("echo reply").
#pragma once

#include "tarn/GatewayRequest.h"

#include <cstdlib>
#include <pthread.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <time.h>
#include <unistd.h>

class StandInGateway {
public:
    explicit StandInGateway(const std::string& runtimeDir) {
        const std::string path = runtimeDir + GATEWAY_SOCKET_NAME;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listener, 16) != 0)
            std::abort();
        m_thread = std::thread([this] { Serve(); });
    }
    ~StandInGateway() {
        ::shutdown(m_listener, SHUT_RDWR);
        ::close(m_listener);
        m_thread.join();
    }
    StandInGateway(const StandInGateway&) = delete;
    StandInGateway& operator=(const StandInGateway&) = delete;

    // The processor time its thread has used, in seconds: not the console's.
    double CpuSeconds() {
        clockid_t clock;
        timespec used{};
        if (pthread_getcpuclockid(m_thread.native_handle(), &clock) != 0 ||
            clock_gettime(clock, &used) != 0)
            return 0;
        return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
    }

private:
    void Serve() {
        for (;;) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            if (client < 0)
                return;
            char request[GATEWAY_MESSAGE_SIZE];
            size_t got = 0;
            ssize_t n = 0;
            while (got < sizeof request &&
                   (n = ::recv(client, request + got, sizeof request - got, 0)) > 0)
                got += static_cast<size_t>(n);
            const int32_t answer = GATEWAY_PING_REPLY;
            [[maybe_unused]] ssize_t sent = ::send(client, &answer, sizeof answer, MSG_NOSIGNAL);
            ::close(client);
        }
    }
    int m_listener = -1;
    std::thread m_thread;
};
