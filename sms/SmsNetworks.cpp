#include "SmsNetworks.h"

#include "SmsTapSender.h"
#include "SmsUcpCallInputSender.h"
#include "SmsUcpSubmitSender.h"
#include "tarn/LUSMSLib2.h"

#include <algorithm>

namespace {

constexpr size_t kQuixPrefixLength = 5;

struct NetworkRule {
    const char* digits;
    bool atStart; // else anywhere in the number
    int32_t network;
};

// In the order the tests are made.
constexpr NetworkRule kRules[] = {
    {"0171", false, SMS_NETWORK_D1},    {"0172", false, SMS_NETWORK_D2},
    {"0177", false, SMS_NETWORK_EPLUS}, {"0165", true, SMS_NETWORK_QUIX},
    {"079", true, SMS_NETWORK_NATEL_D},
};

} // namespace

namespace SmsNetworks {

std::string Clean(std::string_view number) {
    std::string clean(number);
    std::erase_if(clean, [](char c) { return c == '-' || c == '/'; });
    return clean;
}

int32_t Classify(std::string_view cleanedNumber) {
    for (const NetworkRule& rule : kRules) {
        const size_t at = cleanedNumber.find(rule.digits);
        if (at != std::string_view::npos && (!rule.atStart || at == 0)) {
            return rule.network;
        }
    }
    return SMS_NETWORK_NONE;
}

std::string NumberPassedOn(int32_t network, const std::string& cleanedNumber) {
    if (network != SMS_NETWORK_QUIX) {
        return cleanedNumber;
    }
    return cleanedNumber.substr(std::min(kQuixPrefixLength, cleanedNumber.size()));
}

bool IsKnown(int32_t network) {
    return network >= SMS_NETWORK_D2 && network <= SMS_NETWORK_NATEL_D;
}

size_t MessageLimit(int32_t network) {
    return network == SMS_NETWORK_QUIX ? 80 : 160;
}

std::unique_ptr<CSmsSender> CreateSender(int32_t network) {
    switch (network) {
    case SMS_NETWORK_D2:
    case SMS_NETWORK_NATEL_D:
        return std::make_unique<CSmsUcpSubmitSender>();
    case SMS_NETWORK_QUIX:
        return std::make_unique<CSmsUcpCallInputSender>();
    case SMS_NETWORK_D1:
        return std::make_unique<CSmsTapSender>(SmsTapTable::D1);
    case SMS_NETWORK_EPLUS:
        return std::make_unique<CSmsTapSender>(SmsTapTable::EPlus);
    default:
        return nullptr;
    }
}

} // namespace SmsNetworks
