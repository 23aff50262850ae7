#include "SmsUcpSender.h"

#include "SmsControl.h"
#include "tarn/LUSMSLib2.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <strings.h>

using namespace SmsControl;

namespace {

constexpr int kAnswerWaitS = 150;
constexpr size_t kLengthPos = 3;
constexpr size_t kLengthDigits = 5;
constexpr size_t kChecksumDigits = 2;
// Our frames always carry transaction number 01.
constexpr std::string_view kTransaction = "01";

std::string HexByte(unsigned value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

// A frame text's length as its five-digit length field.
std::string LengthField(size_t length) {
    char text[kLengthDigits + 1];
    std::snprintf(text, sizeof text, "%05zu", length);
    return text;
}

// The text between the first STX and the ETX after it; bytes in front of the
// STX (line noise) and behind the ETX are not part of the frame.
std::optional<std::string> FrameText(const std::string& answer) {
    const size_t start = answer.find(STX);
    const size_t end = start == std::string::npos ? start : answer.find(ETX, start);
    if (end == std::string::npos) {
        return std::nullopt;
    }
    return answer.substr(start + 1, end - start - 1);
}

bool FrameComplete(const std::string& answer) {
    return FrameText(answer).has_value();
}

// Whether the frame text's length field gives its own length and its last two
// characters are the checksum of everything in front of them.
bool IsIntactFrame(const std::string& text, const std::vector<std::string>& fields) {
    if (fields.back().size() != kChecksumDigits || fields[1].size() != kLengthDigits) {
        return false;
    }
    const std::string checksum =
        CSmsUcpSender::Checksum(std::string_view(text).substr(0, text.size() - kChecksumDigits));
    return fields[1] == LengthField(text.size()) &&
           ::strcasecmp(text.c_str() + text.size() - kChecksumDigits, checksum.c_str()) == 0;
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
    text.replace(kLengthPos, kLengthDigits, LengthField(text.size()));
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
    const std::optional<std::string> text = FrameText(answer);
    if (!text) {
        return SMS_RESULT_BAD_ANSWER;
    }
    const std::vector<std::string> fields = SplitFields(*text);
    if (!IsAnswerFieldCount(fields.size()) || !IsIntactFrame(*text, fields) ||
        !IsAnswerToUs(fields)) {
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

bool CSmsUcpSender::IsAnswerToUs(const std::vector<std::string>& fields) const {
    return fields[0] == kTransaction && fields[2] == "R" && fields[3] == OperationType();
}
