// The Universal Computer Protocol (UCP, also called EMI): one frame, one
// answer, no retransmission. The operations differ in their fields, their
// character table and how many answer fields they expect.
#pragma once

#include "SmsCharTable.h"
#include "SmsSender.h"

#include <vector>

class CSmsUcpSender : public CSmsSender {
public:
    int32_t Send(CSmsModem& modem, const std::string& message, const std::string& sender,
                 const std::string& recipient) override;

    // STX, "01/<length>/O/<type>/<fields><checksum>", ETX.
    std::string BuildFrame(const std::string& message, const std::string& sender,
                           const std::string& recipient) const;
    // Every character as two upper-case hexadecimal digits, after the table.
    std::string EncodeText(std::string_view text) const;
    // The centre's answer as a library result code: 6 unless it is one frame
    // (STX ... ETX) with a true length and checksum that answers ("R") our
    // operation under our transaction number.
    int32_t JudgeAnswer(const std::string& answer) const;

    // The low 8 bits of the byte sum as two upper-case hexadecimal digits.
    static std::string Checksum(std::string_view text);
    static std::vector<std::string> SplitFields(const std::string& answer);

protected:
    explicit CSmsUcpSender(const CSmsCharTable& table) : m_table(table) {}

    virtual std::string OperationType() const = 0;
    // The operation's fields, each followed by "/".
    virtual std::string OperationFields(const std::string& encodedText, const std::string& sender,
                                        const std::string& recipient) const = 0;
    virtual bool IsAnswerFieldCount(size_t count) const = 0;

private:
    bool IsAnswerToUs(const std::vector<std::string>& fields) const;

    const CSmsCharTable& m_table;
};
