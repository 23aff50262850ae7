// The daily window of an audition or a notification channel, given by a
// begin and an end hour.
#pragma once

#include <cstdint>
#include <ctime>

// Whether hour (0 to 23) lies in the daily window from begin to end (each 0
// to 24): begin <= hour < end; across midnight when begin > end; the whole day
// when both are equal.
bool IsInActiveWindow(int32_t begin, int32_t end, int hour);
// The same for the local hour of a time.
bool IsInActiveWindowAt(int32_t begin, int32_t end, std::time_t time);
