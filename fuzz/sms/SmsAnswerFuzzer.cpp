// Feeds arbitrary bytes as an SMS centre's answer to both UCP operations and
// to the TAP block, once as they come and once sealed into a UCP frame of
// ours (true length and checksum), so that the fields behind the seal are
// reached too. Checks that every answer gives a result code of the table and
// that an answer is judged beyond "malformed" only when it holds a whole
// frame with a true checksum.
#include "FuzzSupport.h"
#include "SmsControl.h"
#include "SmsTapSender.h"
#include "SmsUcpCallInputSender.h"
#include "SmsUcpSubmitSender.h"
#include "tarn/LUSMSLib2.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

bool IsUcpResult(int32_t result) {
    return result == SMS_RESULT_OK || result == SMS_RESULT_BAD_ANSWER ||
           result == SMS_RESULT_REFUSED_06 || result == SMS_RESULT_REFUSED ||
           result == SMS_RESULT_REFUSED_02;
}

// Whether answer holds STX, text, ETX whose text ends in its own checksum.
bool HoldsSealedFrame(const std::string& answer) {
    const size_t start = answer.find(SmsControl::STX);
    const size_t end = start == std::string::npos ? start : answer.find(SmsControl::ETX, start);
    if (end == std::string::npos || end - start - 1 < 2)
        return false;
    const std::string text = answer.substr(start + 1, end - start - 1);
    const std::string sum =
        CSmsUcpSender::Checksum(std::string_view(text).substr(0, text.size() - 2));
    return text.compare(text.size() - 2, 2, sum) == 0 ||
           (std::toupper(text[text.size() - 2]) == sum[0] &&
            std::toupper(text[text.size() - 1]) == sum[1]);
}

// "01/<length>/R/<operation>/" + fields + "/<checksum>" between STX and ETX.
std::string Sealed(const std::string& operation, const std::string& fields) {
    std::string text = "01/00000/R/" + operation + "/" + fields + "/00";
    char length[16];
    std::snprintf(length, sizeof length, "%05zu", text.size() % 100000);
    text.replace(3, 5, length);
    text.replace(text.size() - 2, 2,
                 CSmsUcpSender::Checksum(std::string_view(text).substr(0, text.size() - 2)));
    return SmsControl::STX + text + SmsControl::ETX;
}

void Judge(const std::string& answer) {
    static const CSmsUcpSubmitSender submit;
    static const CSmsUcpCallInputSender callInput;
    for (const CSmsUcpSender* sender : {static_cast<const CSmsUcpSender*>(&submit),
                                        static_cast<const CSmsUcpSender*>(&callInput)}) {
        const int32_t result = sender->JudgeAnswer(answer);
        Require(IsUcpResult(result));
        if (result != SMS_RESULT_BAD_ANSWER)
            Require(HoldsSealedFrame(answer));
    }
    if (CSmsTapSender::IsBlockAccepted(answer))
        Require(answer.size() >= 2 && answer[answer.size() - 2] == SmsControl::ACK);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string answer(reinterpret_cast<const char*>(data), size);
    Judge(answer);
    Judge(Sealed("51", answer));
    Judge(Sealed("01", answer));
    return 0;
}
