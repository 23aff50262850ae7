// The Telocator Alphanumeric Protocol (TAP, also called IXO): prompt, log-on,
// one block, end; up to three attempts. D1 and E-Plus differ only in the
// character table. The sender is not transmitted.
#pragma once

#include "SmsCharTable.h"
#include "SmsSender.h"

enum class SmsTapTable { D1, EPlus };

class CSmsTapSender : public CSmsSender {
public:
    explicit CSmsTapSender(SmsTapTable table);

    int32_t Send(CSmsModem& modem, const std::string& message, const std::string& sender,
                 const std::string& recipient) override;

    std::string ConvertText(std::string_view text) const;
    // STX, recipient, CR, text, CR, ETX, checksum, CR.
    static std::string BuildBlock(std::string_view recipient, std::string_view convertedText);
    // The low 12 bits of the byte sum, as three characters "0" to "?".
    static std::string Checksum(std::string_view bytes);
    // A block answer ending in ACK CR.
    static bool IsBlockAccepted(const std::string& answer);

private:
    int32_t Attempt(CSmsModem& modem, const std::string& block);
    bool Prompt(CSmsModem& modem);
    bool LogOn(CSmsModem& modem);
    bool SendBlock(CSmsModem& modem, const std::string& block);
    void End(CSmsModem& modem);

    const CSmsCharTable& m_table;
};
