// UCP operation 01, call input (the Quix pager network).
#pragma once

#include "SmsUcpSender.h"

class CSmsUcpCallInputSender : public CSmsUcpSender {
public:
    CSmsUcpCallInputSender();

protected:
    std::string OperationType() const override { return "01"; }
    // Recipient (the shortened pager number), an empty sender, an empty
    // authentication code, message type 3, the text.
    std::string OperationFields(const std::string& encodedText, const std::string& sender,
                                const std::string& recipient) const override;
    bool IsAnswerFieldCount(size_t count) const override { return count >= 6; }
};
