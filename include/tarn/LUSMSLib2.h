// The SMS library: sends one short text message to a mobile phone or pager by
// dialling the SMS centre of the recipient's network through a data modem.
// All text is UTF-8; every call is one complete dial-up and keeps no state.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(LUSMSLIB2_BUILDING)
#define LUSMSLIB2_API __attribute__((visibility("default")))
#else
#define LUSMSLIB2_API
#endif

// Networks (SmsNetwork).
enum {
    SMS_NETWORK_NONE = 0,
    SMS_NETWORK_D2 = 1,
    SMS_NETWORK_QUIX = 2,
    SMS_NETWORK_D1 = 3,
    SMS_NETWORK_EPLUS = 4,
    SMS_NETWORK_NATEL_D = 5
};

// Result codes of both send operations.
enum {
    SMS_RESULT_OK = 0,               // message accepted by the centre
    SMS_RESULT_NO_NETWORK = 2,       // number not recognised, or network not 1 to 5
    SMS_RESULT_BUSY = 3,             // the centre's line was busy
    SMS_RESULT_NO_CONNECTION = 4,    // no connection within the connect time-out
    SMS_RESULT_BAD_ANSWER = 6,       // UCP answer missing or malformed
    SMS_RESULT_REFUSED_06 = 7,       // UCP submission refused with error 06
    SMS_RESULT_REFUSED = 8,          // other UCP error, or TAP block not acknowledged
    SMS_RESULT_DISCONNECTED = 9,     // the call ended before it was connected
    SMS_RESULT_REFUSED_02 = 10,      // UCP submission refused with error 02
    SMS_RESULT_NO_MODEM = 11,        // no modem line could be initialised, opened or called
    SMS_RESULT_TAP_LOGON_FAILED = 12 // no "ID=" prompt, or no go-ahead
};

// Cleans a number as typed ("-" and "/" removed) and finds its network. Returns
// non-zero and rewrites the buffer (never longer than before) when a network
// matches; returns zero with *network = 0 when none matches, and zero with both
// untouched when the number is empty.
LUSMSLIB2_API int LUSMSTranslateAddress(char* number, int32_t* network);

// Dials dialPrefix + centre, submits the message to recipient (a number as
// LUSMSTranslateAddress left it) with the network's protocol and hangs up.
// Blocks until the dial-up is over; returns one of the SMS_RESULT_* codes.
LUSMSLIB2_API int32_t LUSMSSendMessage(int32_t network, const char* dialPrefix, const char* message,
                                       const char* sender, const char* recipient,
                                       const char* centre);

// Translates the recipient and sends as LUSMSSendMessage with the built-in
// centre number of its network (the first of two when alternate is non-zero).
LUSMSLIB2_API int32_t LUSMSSendMessageAuto(const char* dialPrefix, const char* message,
                                           const char* sender, const char* recipient,
                                           int32_t alternate);

#ifdef __cplusplus
}
#endif
