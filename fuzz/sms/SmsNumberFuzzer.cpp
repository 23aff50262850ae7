// Feeds arbitrary bytes as a mobile number to the library's translation
// (LUSMSTranslateAddress works in the caller's buffer). Checks that the
// number is never made longer, that a translated number belongs to a known
// network and holds neither "-" nor "/", and that an unknown one is left alone.
#include "FuzzSupport.h"
#include "SmsNetworks.h"
#include "tarn/LUSMSLib2.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> number(data, data + size);
    number.push_back('\0');
    const std::string before(number.data());
    int32_t network = -1;
    const int translated = LUSMSTranslateAddress(number.data(), &network);
    const std::string after(number.data());
    Require(after.size() <= before.size());
    if (translated) {
        Require(SmsNetworks::IsKnown(network));
        Require(after.find_first_of("-/") == std::string::npos);
        Require(SmsNetworks::Classify(SmsNetworks::Clean(before)) == network);
    } else {
        Require(after == before);
    }
    return 0;
}
