#include "SmsSender.h"

#include "SmsModem.h"

bool CSmsSender::SendBytes(CSmsModem& modem, std::string_view bytes) {
    std::string discarded;
    modem.ReadAll(discarded);
    return modem.Write(bytes);
}

bool CSmsSender::Await(CSmsModem& modem, int seconds, const AnswerComplete& complete,
                       std::string& answer) {
    answer.clear();
    const auto deadline = modem.Timing().DeadlineAfter(seconds * 1000L);
    std::string piece;
    while (answer.size() < CSmsModem::kBufferSize && modem.WaitForInputUntil(deadline)) {
        if (!modem.ReadAll(piece) || piece.empty()) {
            break; // the line reports input it cannot deliver: it is gone
        }
        answer.append(piece, 0, CSmsModem::kBufferSize - answer.size());
        if (complete(answer)) {
            break;
        }
    }
    return !answer.empty();
}
