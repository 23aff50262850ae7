#include "SmsTapSender.h"

#include "SmsControl.h"
#include "tarn/LUSMSLib2.h"

using namespace SmsControl;

namespace {

constexpr int kAttempts = 3;
constexpr int kPromptTries = 3;
constexpr int kPromptWaitS = 2;
constexpr int kLogOnWaitS = 3;
constexpr int kBlockWaitS = 5;
constexpr int kEndWaitS = 2;

const std::string kIdPrompt = "ID=";
const std::string kLogOn = std::string(1, ESC) + "PG1" + CR;
const std::string kGoAhead = std::string(1, ESC) + "[p" + CR;
const std::string kDisconnect = std::string(1, ESC) + EOT;
const std::string kEnd = std::string(1, EOT) + CR;

const CSmsCharTable kD1Table = {{'\\', '/'},  {'_', '-'},  {0xC4, '['}, {0xD6, '\\'}, {0xDC, '^'},
                                {0xDF, 0x1E}, {0xE4, '{'}, {0xF6, '|'}, {0xFC, '~'}};
const CSmsCharTable kEPlusTable = {{'\\', '/'}, {'_', '-'},  {0xC4, '['}, {0xD6, '\\'}, {0xDC, ']'},
                                   {0xDF, '~'}, {0xE4, '{'}, {0xF6, '|'}, {0xFC, '}'}};

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The prompt is judged once it ends in "ID=" or a line has ended.
bool PromptComplete(const std::string& answer) {
    return EndsWith(answer, kIdPrompt) || Contains(answer, std::string(1, CR));
}

bool LogOnComplete(const std::string& answer) {
    return Contains(answer, kGoAhead) || Contains(answer, kDisconnect);
}

// A block answer ends with a line holding ACK, NAK or RS, or with the
// centre's disconnect; message lines may come before it.
bool BlockComplete(const std::string& answer) {
    if (answer.size() < 2 || answer.back() != CR) {
        return false;
    }
    const char status = answer[answer.size() - 2];
    return status == ACK || status == NAK || status == RS || EndsWith(answer, kDisconnect + CR);
}

bool LineComplete(const std::string& answer) {
    return Contains(answer, std::string(1, CR));
}

} // namespace

CSmsTapSender::CSmsTapSender(SmsTapTable table)
    : m_table(table == SmsTapTable::D1 ? kD1Table : kEPlusTable) {}

int32_t CSmsTapSender::Send(CSmsModem& modem, const std::string& message, const std::string&,
                            const std::string& recipient) {
    const std::string block = BuildBlock(recipient, ConvertText(message));
    int32_t result = SMS_RESULT_TAP_LOGON_FAILED;
    for (int attempt = 0; attempt < kAttempts && result != SMS_RESULT_OK; ++attempt) {
        result = Attempt(modem, block);
    }
    return result;
}

int32_t CSmsTapSender::Attempt(CSmsModem& modem, const std::string& block) {
    if (!Prompt(modem) || !LogOn(modem)) {
        return SMS_RESULT_TAP_LOGON_FAILED;
    }
    if (!SendBlock(modem, block)) {
        return SMS_RESULT_REFUSED;
    }
    End(modem);
    return SMS_RESULT_OK;
}

bool CSmsTapSender::Prompt(CSmsModem& modem) {
    std::string answer;
    for (int tries = 0; tries < kPromptTries; ++tries) {
        SendBytes(modem, std::string(1, CR));
        if (Await(modem, kPromptWaitS, PromptComplete, answer)) {
            return answer == kIdPrompt;
        }
    }
    return false;
}

bool CSmsTapSender::LogOn(CSmsModem& modem) {
    std::string answer;
    SendBytes(modem, kLogOn);
    Await(modem, kLogOnWaitS, LogOnComplete, answer);
    return Contains(answer, kGoAhead);
}

bool CSmsTapSender::SendBlock(CSmsModem& modem, const std::string& block) {
    std::string answer;
    SendBytes(modem, block);
    Await(modem, kBlockWaitS, BlockComplete, answer);
    return IsBlockAccepted(answer);
}

void CSmsTapSender::End(CSmsModem& modem) {
    std::string answer;
    SendBytes(modem, kEnd);
    Await(modem, kEndWaitS, LineComplete, answer);
}

bool CSmsTapSender::IsBlockAccepted(const std::string& answer) {
    return answer.size() >= 2 && answer[answer.size() - 2] == ACK;
}

std::string CSmsTapSender::ConvertText(std::string_view text) const {
    std::string converted(text);
    for (char& c : converted) {
        c = m_table.Map(c);
    }
    return converted;
}

std::string CSmsTapSender::BuildBlock(std::string_view recipient, std::string_view convertedText) {
    std::string block(1, STX);
    block.append(recipient).append(1, CR).append(convertedText).append(1, CR).append(1, ETX);
    return block + Checksum(block) + CR;
}

std::string CSmsTapSender::Checksum(std::string_view bytes) {
    unsigned sum = 0;
    for (char c : bytes) {
        sum += static_cast<uint8_t>(c);
    }
    sum &= 0xFFF;
    return {static_cast<char>('0' + ((sum >> 8) & 0xF)),
            static_cast<char>('0' + ((sum >> 4) & 0xF)), static_cast<char>('0' + (sum & 0xF))};
}
