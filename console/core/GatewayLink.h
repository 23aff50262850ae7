// The console's link to the gateway program TARN_Gateway: finds or starts it and
// sends it requests over its Unix-domain socket, one connection per request.
// Threads may send at the same time: a ping does not wait for a mail.
#pragma once

#include "tarn/GatewayRequest.h"

#include <cstdint>
#include <mutex>
#include <string>

class CGatewayLink {
public:
    // gatewayProgram: full path of TARN_Gateway (normally in the program
    // directory). The socket lies in the runtime directory of this user.
    explicit CGatewayLink(std::string gatewayProgram);

    // Connects to the running gateway; when none listens, starts gatewayProgram
    // detached and looks again up to 10 times, 500 ms apart. Returns a connected
    // socket that the caller closes, or -1 when no gateway can be had.
    int FindOrStartGateway() const;

    // Sends code with the current request record and waits for the answer at
    // most timeoutMs + 2000 ms. -1 (GATEWAY_UNAVAILABLE) when no gateway can be
    // had, -2 (GATEWAY_EXCHANGE_FAILED) when the exchange fails or times out.
    int32_t SendGatewayRequest(int32_t code, uint32_t timeoutMs);

    // Pings host with an echo time-out of timeoutMs: 0 for a reply, 22715 for
    // none, another positive GATEWAY_PING_* number, -1 or -2.
    int32_t Ping(const std::string& host, uint32_t timeoutMs);
    // Sends one mail through server (time-out 15000 ms): 0 sent, 1 incomplete,
    // 2 no connection, 3 refused by the server, -1 or -2.
    int32_t SendMail(const std::string& from, const std::string& server, const std::string& subject,
                     const std::string& body, const std::string& to);
    // Asks the gateway to end (time-out 1000 ms); the answer is 1, -1 or -2.
    int32_t Quit();

    // Copies text into a field of size N, cut at a UTF-8 character boundary so
    // that it keeps its terminating NUL.
    template <size_t N> static void FillField(char (&field)[N], const std::string& text) {
        FillField(field, N, text);
    }

private:
    const std::string m_gatewayProgram;
    const std::string m_socketPath;
    // The record as the last request left it (a request fills only its own
    // fields). The lock is held only while a request fills it and takes its own
    // copy, never across an exchange, so that a ping and a mail neither mix
    // their fields nor wait for each other.
    std::mutex m_requestLock;
    GatewayRequest m_request{};

    static void FillField(char* field, size_t size, const std::string& text);
    int Connect() const;
    bool StartGateway() const;
    // Fills the record's fields under the lock and returns a copy of it.
    template <typename Fill> GatewayRequest FilledRequest(Fill fill) {
        std::lock_guard guard(m_requestLock);
        fill(m_request);
        return m_request;
    }
    int32_t Exchange(int32_t code, const GatewayRequest& request, uint32_t timeoutMs) const;
};
