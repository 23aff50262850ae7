// A centre protocol: submits one message over a connected modem call and
// judges the centre's answer. Texts are Windows-1252, one byte per character.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class CSmsModem;

class CSmsSender {
public:
    // Returns a library result code; never hangs up (the caller does).
    virtual int32_t Send(CSmsModem& modem, const std::string& message, const std::string& sender,
                         const std::string& recipient) = 0;
    virtual ~CSmsSender() = default;

protected:
    // Tells whether an answer collected so far is complete.
    using AnswerComplete = std::function<bool(const std::string&)>;

    // Drops whatever the centre has sent so far, then writes the bytes.
    static bool SendBytes(CSmsModem& modem, std::string_view bytes);
    // Waits up to `seconds` for the centre to answer and collects the answer,
    // arriving in as many pieces as it likes, until it is complete, the time
    // is up or the modem's buffer size is reached. The previous answer is
    // replaced. Reports whether anything arrived.
    static bool Await(CSmsModem& modem, int seconds, const AnswerComplete& complete,
                      std::string& answer);
};
