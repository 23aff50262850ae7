#include "SmsCentreTable.h"

#include "tarn/LUSMSLib2.h"

namespace {

struct CentreEntry {
    int32_t network;
    const char* alternate; // dialled when the caller's alternate flag is set
    const char* normal;    // dialled when it is clear
};

// Public dial-in numbers of the centres for analogue modems, dialled as they
// stand after the caller's dial prefix. Networks with one number list it twice.
constexpr CentreEntry kCentres[] = {
    {SMS_NETWORK_D2, "01722278020", "01722278010"},    {SMS_NETWORK_QUIX, "016593", "016593"},
    {SMS_NETWORK_D1, "01712092522", "01712521001"},    {SMS_NETWORK_EPLUS, "01771167", "01771167"},
    {SMS_NETWORK_NATEL_D, "0794998990", "0794998990"},
};

} // namespace

namespace SmsCentreTable {

const char* CentreNumber(int32_t network, bool alternate) {
    for (const CentreEntry& entry : kCentres) {
        if (entry.network == network) {
            return alternate ? entry.alternate : entry.normal;
        }
    }
    return nullptr;
}

} // namespace SmsCentreTable
