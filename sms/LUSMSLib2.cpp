// The library's exports: C linkage, nothing thrown across them.
#include "tarn/LUSMSLib2.h"

#include "RegistryFile.h"
#include "SmsModem.h"
#include "SmsNetworks.h"
#include "SmsSendOperation.h"
#include "tarn/SmsCentreNumbers.h"

#include <cstring>

namespace {

constexpr size_t kMaxRecipientLength = 511;

std::string TextOf(const char* text) {
    return text != nullptr ? text : "";
}

int32_t SendWithConfiguredModem(const SmsMessageRequest& request) {
    CSmsModem modem(CSmsModemConfig::Load(CRegistryFile()), CSmsTiming::FromEnvironment());
    return SmsSendOperation::Send(modem, request);
}

} // namespace

extern "C" int LUSMSTranslateAddress(char* number, int32_t* network) {
    if (number == nullptr || network == nullptr || *number == '\0') {
        return 0;
    }
    try {
        const std::string cleaned = SmsNetworks::Clean(number);
        const int32_t found = SmsNetworks::Classify(cleaned);
        *network = found;
        if (found == SMS_NETWORK_NONE) {
            return 0;
        }
        const std::string passedOn = SmsNetworks::NumberPassedOn(found, cleaned);
        std::memcpy(number, passedOn.c_str(), passedOn.size() + 1);
        return 1;
    } catch (...) {
        return 0;
    }
}

extern "C" int32_t LUSMSSendMessage(int32_t network, const char* dialPrefix, const char* message,
                                    const char* sender, const char* recipient, const char* centre) {
    try {
        return SendWithConfiguredModem({network, TextOf(dialPrefix), TextOf(message),
                                        TextOf(sender), TextOf(recipient), TextOf(centre)});
    } catch (...) {
        return SMS_RESULT_REFUSED;
    }
}

extern "C" int32_t LUSMSSendMessageAuto(const char* dialPrefix, const char* message,
                                        const char* sender, const char* recipient,
                                        int32_t alternate) {
    try {
        std::string number = TextOf(recipient).substr(0, kMaxRecipientLength);
        int32_t network = SMS_NETWORK_NONE;
        if (!LUSMSTranslateAddress(number.data(), &network)) {
            return SMS_RESULT_NO_NETWORK;
        }
        number.resize(std::strlen(number.c_str()));
        return SendWithConfiguredModem({network, TextOf(dialPrefix), TextOf(message),
                                        TextOf(sender), number,
                                        SmsCentreNumber(network, alternate != 0)});
    } catch (...) {
        return SMS_RESULT_REFUSED;
    }
}
