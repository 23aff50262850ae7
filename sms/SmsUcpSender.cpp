#include "SmsUcpSender.h"

#include "SmsControl.h"
#include "tarn/LUSMSLib2.h"

#include <cstdio>
#include <cstdlib>

using namespace SmsControl;

namespace {

constexpr int kAnswerWaitS = 150;
constexpr size_t kLengthPos = 3;
constexpr size_t kLengthDigits = 5;

bool FrameComplete(const std::string& answer) {
    return answer.find(ETX) != std::string::npos;
}

std::string HexByte(unsigned value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

} // namespace

int32_t CSmsUcpSender::Send(CSmsModem& modem, const std::string& message, const std::string& sender,
                            const std::string& recipient) {
    std::string answer;
    SendBytes(modem, BuildFrame(message, sender, recipient));
    Await(modem, kAnswerWaitS, FrameComplete, answer);
    return JudgeAnswer(answer);
}

std::string CSmsUcpSender::BuildFrame(const std::string& message, const std::string& sender,
                                      const std::string& recipient) const {
    std::string text = "01/" + std::string(kLengthDigits, '0') + "/O/" + OperationType() + "/" +
                       OperationFields(EncodeText(message), sender, recipient) + "00";
    char length[kLengthDigits + 1];
    std::snprintf(length, sizeof length, "%05zu", text.size());
    text.replace(kLengthPos, kLengthDigits, length);
    text.replace(text.size() - 2, 2, Checksum(std::string_view(text).substr(0, text.size() - 2)));
    return STX + text + ETX;
}

std::string CSmsUcpSender::EncodeText(std::string_view text) const {
    std::string encoded;
    encoded.reserve(text.size() * 2);
    for (char c : text) {
        encoded += HexByte(m_table.Map(static_cast<uint8_t>(c)));
    }
    return encoded;
}

std::string CSmsUcpSender::Checksum(std::string_view text) {
    unsigned sum = 0;
    for (char c : text) {
        sum += static_cast<uint8_t>(c);
    }
    return HexByte(sum);
}

std::vector<std::string> CSmsUcpSender::SplitFields(const std::string& answer) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t slash = answer.find('/', start);
        fields.push_back(answer.substr(start, slash - start));
        if (slash == std::string::npos) {
            return fields;
        }
        start = slash + 1;
    }
}

int32_t CSmsUcpSender::JudgeAnswer(const std::string& answer) const {
    const std::vector<std::string> fields = SplitFields(answer);
    if (!IsAnswerFieldCount(fields.size())) {
        return SMS_RESULT_BAD_ANSWER;
    }
    if (fields[4] == "A") {
        return SMS_RESULT_OK;
    }
    switch (std::strtol(fields[5].c_str(), nullptr, 10)) {
    case 2:
        return SMS_RESULT_REFUSED_02;
    case 6:
        return SMS_RESULT_REFUSED_06;
    default:
        return SMS_RESULT_REFUSED;
    }
}
