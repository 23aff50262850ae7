// UCP operation 51, submit short message (D2, Natel D).
#pragma once

#include "SmsUcpSender.h"

class CSmsUcpSubmitSender : public CSmsUcpSender {
public:
    CSmsUcpSubmitSender();

protected:
    std::string OperationType() const override { return "51"; }
    // Recipient, sender ("0" when empty), sixteen empty fields, message type 3
    // (alphanumeric), an empty field, the text, twelve empty fields.
    std::string OperationFields(const std::string& encodedText, const std::string& sender,
                                const std::string& recipient) const override;
    bool IsAnswerFieldCount(size_t count) const override { return count == 8; }
};
