// The networks the library can reach: how a number is recognised, the
// message limit and the protocol of each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CSmsSender;

namespace SmsNetworks {

// The number without "-" and "/".
std::string Clean(std::string_view number);
// "0171", "0172", "0177" anywhere, then "0165" and "079" at the start; the
// first that matches wins. 0 when none does.
int32_t Classify(std::string_view cleanedNumber);
// The number passed on to the centre: the cleaned number, for Quix without
// its first five characters.
std::string NumberPassedOn(int32_t network, const std::string& cleanedNumber);

bool IsKnown(int32_t network);
// Characters a message may have before the sender's length is taken off.
size_t MessageLimit(int32_t network);
// The protocol object of a known network.
std::unique_ptr<CSmsSender> CreateSender(int32_t network);

} // namespace SmsNetworks
