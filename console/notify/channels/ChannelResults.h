// What the channels make of the answers of the components they send through:
// the channel result and the result text of each answer, the SMS centre of a
// network, and the lines of a printed notification.
#pragma once

#include "DBRecords.h"
#include "NotificationJob.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A channel result (1 sent, 1000 retry worth, other failed) and the string id
// of the text that the event names as the result.
struct ChannelOutcome {
    int32_t result;
    unsigned textId;

    bool operator==(const ChannelOutcome&) const = default;
};

// A result of the SMS library (SMS_RESULT_*).
ChannelOutcome MapSmsResult(int32_t libraryResult);
// A result of the mail library; 1 stands for a library or entry point that is missing.
ChannelOutcome MapMailResult(int32_t libraryResult);
// An answer of the gateway to a send-mail request (-1 and -2 included).
ChannelOutcome MapSmtpAnswer(int32_t answer);
// The return value of SnmpSendTrap.
ChannelOutcome MapTrapResult(int sendResult);
ChannelOutcome MapPrintResult(bool printed);
ChannelOutcome MapFaxResult(bool printed);

// The SMS centre number for a network of the SMS library (1 D2, 2 Quix, 3 D1,
// 4 E-Plus, 5 Natel D); none for any other network.
std::optional<std::string> SmsCentreNumber(const DBNotifySrvConfig& settings, int32_t network);


// The lines a page shows: each line is the text up to a line feed, so text
// after the last line feed is not printed.
std::vector<std::string> PrintedLines(const std::string& text);
