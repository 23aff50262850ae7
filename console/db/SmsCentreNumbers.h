// Dial-in numbers of the SMS centres of the five networks the SMS library
// serves: the defaults of the SMS centre columns of the notification service
// settings, both in a new configuration file and in one brought up from an
// older release. Change them here only.
#pragma once

inline constexpr const char* kSmsCentreD1 = "01712521002";
inline constexpr const char* kSmsCentreD2 = "01722278020";
inline constexpr const char* kSmsCentreEPlus = "01771167";
inline constexpr const char* kSmsCentreQuix = "01653100000";
inline constexpr const char* kSmsCentreNatelD = "0794999000";
