// The request record, request codes and answers that the console and the gateway
// program TARN_Gateway exchange over the gateway's Unix-domain socket.
//
// Wire format, one request per connection: the client sends the request code
// (int32, little-endian) followed by the 1796 bytes of GatewayRequest, then shuts
// down its sending side; the gateway answers with one int32 (little-endian) and
// closes. See docs/GATEWAY.md.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Every text is NUL-terminated within its own field. Numbers are stored in the
// machine's byte order, which the wire format fixes as little-endian.
struct GatewayRequest {
    char PingHost[256];    // host name or dotted address to ping
    uint32_t PingTimeout;  // time-out of one echo in milliseconds
    char MailFrom[256];    // sender address
    char MailServer[256];  // SMTP server: host name or address, optionally "host:port"
    char MailSubject[256]; // subject text
    char MailBody[512];    // message text
    char MailTo[256];      // recipient address
};

static_assert(std::endian::native == std::endian::little,
              "the gateway record travels in the machine's byte order, fixed as little-endian");
static_assert(sizeof(GatewayRequest) == 1796);
static_assert(offsetof(GatewayRequest, PingHost) == 0);
static_assert(offsetof(GatewayRequest, PingTimeout) == 256);
static_assert(offsetof(GatewayRequest, MailFrom) == 260);
static_assert(offsetof(GatewayRequest, MailServer) == 516);
static_assert(offsetof(GatewayRequest, MailSubject) == 772);
static_assert(offsetof(GatewayRequest, MailBody) == 1028);
static_assert(offsetof(GatewayRequest, MailTo) == 1540);

// Request codes.
constexpr int32_t GATEWAY_QUIT = 1;
constexpr int32_t GATEWAY_PING = 2;
constexpr int32_t GATEWAY_SEND_MAIL = 3;

// Bytes of one request on the wire: the code, then the record.
constexpr size_t GATEWAY_MESSAGE_SIZE = sizeof(int32_t) + sizeof(GatewayRequest);

// Answers to GATEWAY_QUIT, to an unknown code and to a request of the wrong size.
constexpr int32_t GATEWAY_ANSWER_QUIT = 1;
constexpr int32_t GATEWAY_ANSWER_UNKNOWN = 1;

// Answers to GATEWAY_PING. Every failure is positive and never 0.
constexpr int32_t GATEWAY_PING_REPLY = 0;            // an echo reply came
constexpr int32_t GATEWAY_PING_HOST_UNKNOWN = 22701; // empty host, or no IPv4 address for it
constexpr int32_t GATEWAY_PING_NO_SOCKET = 22702;    // neither an ICMP datagram nor a raw socket
constexpr int32_t GATEWAY_PING_UNREACHABLE = 22703;  // no route, or an ICMP error came back
constexpr int32_t GATEWAY_PING_SEND_FAILED = 22704;  // any other socket failure
constexpr int32_t GATEWAY_PING_NO_REPLY = 22715;     // no reply within the time-out
// Longer ping time-outs are cut to this many milliseconds.
constexpr uint32_t GATEWAY_MAX_PING_TIMEOUT_MS = 30000;

// Answers to GATEWAY_SEND_MAIL.
constexpr int32_t GATEWAY_MAIL_SENT = 0;          // the server accepted the message
constexpr int32_t GATEWAY_MAIL_INCOMPLETE = 1;    // sender, server or recipient empty or unusable
constexpr int32_t GATEWAY_MAIL_NO_CONNECTION = 2; // connection, greeting or transfer failed
constexpr int32_t GATEWAY_MAIL_REFUSED = 3;       // the server refused sender, recipient or text

// Answers the console side adds of its own.
constexpr int32_t GATEWAY_UNAVAILABLE = -1;     // no gateway could be found or started
constexpr int32_t GATEWAY_EXCHANGE_FAILED = -2; // the exchange failed or exceeded its time-out

// Names in the program directory and in the per-user runtime directory.
constexpr const char* GATEWAY_PROGRAM_NAME = "TARN_Gateway";
constexpr const char* GATEWAY_SOCKET_NAME = "TARN_Gateway.sock";

// The text of a field, up to its NUL or its end when a peer left out the NUL.
template <size_t N> std::string_view GatewayFieldText(const char (&field)[N]) {
    return {field, ::strnlen(field, N)};
}
