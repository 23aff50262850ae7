// Control characters of the centre protocols.
#pragma once

namespace SmsControl {
inline constexpr char STX = 0x02;
inline constexpr char ETX = 0x03;
inline constexpr char EOT = 0x04;
inline constexpr char ACK = 0x06;
inline constexpr char CR = 0x0D;
inline constexpr char NAK = 0x15;
inline constexpr char RS = 0x1E;
inline constexpr char ESC = 0x1B;
} // namespace SmsControl
