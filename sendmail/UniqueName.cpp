#include "UniqueName.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <sys/random.h>
#include <unistd.h>

namespace {

uint64_t RandomBits() {
    uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, 0) != static_cast<ssize_t>(sizeof bits)) {
        // Without the kernel's generator, the clock still keeps names apart.
        bits = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    return bits;
}

} // namespace

std::string UniqueName() {
    const auto now = std::chrono::system_clock::now();
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(micros / 1000000);
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    char text[96];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d.%06lld-%ld-%016llx",
                  utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                  utc.tm_sec, static_cast<long long>(micros % 1000000),
                  static_cast<long>(::getpid()), static_cast<unsigned long long>(RandomBits()));
    return text;
}
