#include "SmsSendOperation.h"

#include "SmsModem.h"
#include "SmsNetworks.h"
#include "SmsSender.h"
#include "SmsText.h"
#include "tarn/LUSMSLib2.h"

namespace SmsSendOperation {

int32_t Send(CSmsModem& modem, const SmsMessageRequest& request) {
    const std::unique_ptr<CSmsSender> protocol = SmsNetworks::CreateSender(request.network);
    if (!protocol) {
        return SMS_RESULT_NO_NETWORK;
    }
    int32_t result = SMS_RESULT_OK;
    const int dial = modem.Dial(request.dialPrefix + request.centre);
    if (dial != kSmsDialConnected) {
        result = ResultOfDial(dial);
    } else {
        const std::string sender = SmsText::Utf8ToWindows1252(request.sender);
        const size_t limit =
            SmsText::MessageLimit(SmsNetworks::MessageLimit(request.network), sender.size());
        const std::string message =
            SmsText::CutMessage(SmsText::Utf8ToWindows1252(request.message), limit);
        result =
            protocol->Send(modem, message, sender, SmsText::Utf8ToWindows1252(request.recipient));
    }
    modem.HangUp();
    return result;
}

int32_t ResultOfDial(int dialResult) {
    switch (dialResult) {
    case kSmsDialConnected:
        return SMS_RESULT_OK;
    case kSmsDialBusy:
        return SMS_RESULT_BUSY;
    case kSmsDialNoConnection:
        return SMS_RESULT_NO_CONNECTION;
    case kSmsDialFailed:
        return SMS_RESULT_NO_MODEM;
    default:
        return SMS_RESULT_DISCONNECTED;
    }
}

} // namespace SmsSendOperation
