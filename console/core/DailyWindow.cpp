#include "DailyWindow.h"

bool IsInActiveWindow(int32_t begin, int32_t end, int hour) {
    if (begin < end)
        return begin <= hour && hour < end;
    if (begin > end)
        return hour >= begin || hour < end;
    return true;
}

bool IsInActiveWindowAt(int32_t begin, int32_t end, std::time_t time) {
    std::tm local{};
    const int hour = ::localtime_r(&time, &local) ? local.tm_hour : 0;
    return IsInActiveWindow(begin, end, hour);
}
