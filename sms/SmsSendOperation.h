// One complete dial-up: dial the centre, submit the message with the
// network's protocol, hang up.
#pragma once

#include <cstdint>
#include <string>

class CSmsModem;

struct SmsMessageRequest {
    int32_t network = 0;
    std::string dialPrefix; // put in front of the centre number, may be empty
    std::string message;    // UTF-8
    std::string sender;     // UTF-8; its length shortens the message limit
    std::string recipient;  // as the address translation left it
    std::string centre;     // the centre's dial-in number
};

namespace SmsSendOperation {

// Returns a library result code; the modem is hung up in every case and is
// not touched at all for an unknown network.
int32_t Send(CSmsModem& modem, const SmsMessageRequest& request);
// The library result of a dial that did not connect.
int32_t ResultOfDial(int dialResult);

} // namespace SmsSendOperation
