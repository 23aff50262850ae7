#include "ChannelResults.h"

#include "MessageIds.h"
#include "TARNTool.h"
#include "tarn/LUSMSLib2.h"

namespace {

constexpr int32_t kSent = 1;
constexpr int32_t kFailed = 2;
constexpr int32_t kRetry = 1000;

} // namespace

ChannelOutcome MapSmsResult(int32_t libraryResult) {
    switch (libraryResult) {
    case SMS_RESULT_OK:
        return {kSent, IDS_SMS_SENT};
    case SMS_RESULT_NO_NETWORK:
        return {kFailed, IDS_NO_SERVICE};
    case SMS_RESULT_BUSY:
    case SMS_RESULT_NO_CONNECTION:
    case SMS_RESULT_DISCONNECTED:
        return {kRetry, IDS_NO_SMS_GATEWAY};
    case SMS_RESULT_NO_MODEM:
        return {kRetry, IDS_NO_MODEM};
    default:
        return {kRetry, IDS_TRANSMISSION_ERROR};
    }
}

ChannelOutcome MapMailResult(int32_t libraryResult) {
    switch (libraryResult) {
    case 0:
        return {kSent, IDS_MAIL_SENT};
    case 1:
        return {kFailed, IDS_COMPONENT_MISSING};
    case 2:
        return {kFailed, IDS_MAIL_LOGON_FAILED};
    default:
        return {kFailed, IDS_MAIL_NOT_SENT};
    }
}

ChannelOutcome MapSmtpAnswer(int32_t answer) {
    switch (answer) {
    case 0:
        return {kSent, IDS_SMTP_SENT};
    case 2:
        return {kFailed, IDS_NO_MAIL_SERVER};
    case 3:
        return {kFailed, IDS_UNKNOWN_RECIPIENT};
    default:
        return {kFailed, IDS_BAD_PARAMETERS};
    }
}

ChannelOutcome MapTrapResult(int sendResult) {
    return sendResult != 0 ? ChannelOutcome{kSent, IDS_TRAP_SENT}
                           : ChannelOutcome{kFailed, IDS_TRAP_FAILED};
}

ChannelOutcome MapPrintResult(bool printed) {
    return printed ? ChannelOutcome{kSent, IDS_PRINT_DONE}
                   : ChannelOutcome{kFailed, IDS_PRINT_FAILED};
}

ChannelOutcome MapFaxResult(bool printed) {
    return printed ? ChannelOutcome{kSent, IDS_FAX_DONE} : ChannelOutcome{kFailed, IDS_FAX_FAILED};
}

std::optional<std::string> SmsCentreNumber(const DBNotifySrvConfig& settings, int32_t network) {
    switch (network) {
    case SMS_NETWORK_D2:
        return settings.SMS_GATEWAY_D2;
    case SMS_NETWORK_QUIX:
        return settings.SMS_GATEWAY_QUIX;
    case SMS_NETWORK_D1:
        return settings.SMS_GATEWAY_D1;
    case SMS_NETWORK_EPLUS:
        return settings.SMS_GATEWAY_EPLUS;
    case SMS_NETWORK_NATEL_D:
        return settings.SMS_GATEWAY_NATEL_D;
    default:
        return std::nullopt;
    }
}

std::vector<std::string> PrintedLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
