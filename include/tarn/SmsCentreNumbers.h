// The built-in dial-in numbers of the SMS centres of the five networks, the
// one table for the whole system: the SMS library dials them when a caller
// has none configured (LUSMSSendMessageAuto), and the console's configuration
// file takes them as the defaults of its SMS centre settings (new files and
// conversion). These are historical analogue numbers: docs/SMS.md says which
// must be checked with the operator. Change them here only.
#pragma once

#include "tarn/LUSMSLib2.h"

#include <cstdint>

struct SmsCentreEntry {
    int32_t network;
    const char* alternate; // dialled when the caller's alternate flag is set
    const char* normal;    // dialled when it is clear; the console's default
};

// Networks with one number list it twice.
inline constexpr SmsCentreEntry kSmsCentres[] = {
    {SMS_NETWORK_D2, "01722278020", "01722278010"},    {SMS_NETWORK_QUIX, "016593", "016593"},
    {SMS_NETWORK_D1, "01712092522", "01712521001"},    {SMS_NETWORK_EPLUS, "01771167", "01771167"},
    {SMS_NETWORK_NATEL_D, "0794998990", "0794998990"},
};

// The centre of a network by the alternate flag; nullptr for an unknown network.
constexpr const char* SmsCentreNumber(int32_t network, bool alternate) {
    for (const SmsCentreEntry& entry : kSmsCentres) {
        if (entry.network == network)
            return alternate ? entry.alternate : entry.normal;
    }
    return nullptr;
}

// The console's defaults of the SMS centre settings.
inline constexpr const char* kSmsCentreD1 = SmsCentreNumber(SMS_NETWORK_D1, false);
inline constexpr const char* kSmsCentreD2 = SmsCentreNumber(SMS_NETWORK_D2, false);
inline constexpr const char* kSmsCentreEPlus = SmsCentreNumber(SMS_NETWORK_EPLUS, false);
inline constexpr const char* kSmsCentreQuix = SmsCentreNumber(SMS_NETWORK_QUIX, false);
inline constexpr const char* kSmsCentreNatelD = SmsCentreNumber(SMS_NETWORK_NATEL_D, false);
