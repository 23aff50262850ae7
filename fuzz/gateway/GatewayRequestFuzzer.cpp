// Feeds arbitrary bytes as a request of the console (code and record, zero
// filled when short) to what the gateway reads from it: the field texts, the
// ping time-out, the mail server text and the envelope addresses, and the
// message composed from them. Checks that no field is read past its end, that
// a server text split gives a host and a port, that an envelope address with
// a line break is never usable, and that the composed message has exactly its
// three header lines and no bare line feed.
#include "FuzzSupport.h"
#include "Pinger.h"
#include "SmtpSender.h"
#include "tarn/GatewayRequest.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

size_t Count(std::string_view text, std::string_view piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string_view::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

void CheckServer(std::string_view server) {
    std::string host;
    unsigned port = 0;
    if (CSmtpSender::SplitServer(server, host, port)) {
        Require(!host.empty());
        Require(port >= 1 && port <= 65535);
    }
}

void CheckEnvelope(std::string_view address) {
    const std::string_view envelope = CSmtpSender::EnvelopeAddress(address);
    Require(envelope.size() <= address.size());
    if (CSmtpSender::IsUsableEnvelope(envelope))
        Require(envelope.find_first_of("\r\n") == std::string_view::npos);
}

void CheckMessage(const GatewayRequest& request) {
    const std::string message = CSmtpSender::ComposeMessage(
        GatewayFieldText(request.MailFrom), GatewayFieldText(request.MailTo),
        GatewayFieldText(request.MailSubject), GatewayFieldText(request.MailBody));
    const size_t end = message.find("\r\n\r\n");
    Require(end != std::string::npos);
    const std::string_view headers(message.data(), end + 2);
    Require(headers.substr(0, 6) == "From: ");
    Require(Count(headers, "\r\n") == 3 && Count(headers, "\n") == 3);
    for (size_t i = 0; i < message.size(); ++i)
        Require(message[i] != '\n' || (i > 0 && message[i - 1] == '\r'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    unsigned char bytes[GATEWAY_MESSAGE_SIZE] = {};
    std::memcpy(bytes, data, std::min(size, sizeof bytes));
    int32_t code;
    GatewayRequest request;
    std::memcpy(&code, bytes, sizeof code);
    std::memcpy(&request, bytes + sizeof code, sizeof request);

    Require(GatewayFieldText(request.PingHost).size() <= sizeof request.PingHost);
    Require(GatewayFieldText(request.MailBody).size() <= sizeof request.MailBody);
    Require(CPinger::CappedTimeout(request.PingTimeout) <= GATEWAY_MAX_PING_TIMEOUT_MS);
    CheckServer(GatewayFieldText(request.MailServer));
    CheckEnvelope(GatewayFieldText(request.MailFrom));
    CheckEnvelope(GatewayFieldText(request.MailTo));
    CheckMessage(request);
    return 0;
}
