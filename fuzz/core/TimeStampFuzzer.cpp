// Feeds arbitrary bytes to the reader of 14-digit time stamps, as agents
// write them into their files, under a time zone with daylight saving time.
// Checks that a text is accepted only when it is 14 digits that give
// themselves back, and that the display form never fails on any text.
#include "FuzzSupport.h"
#include "TARNTool.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Central European time with its switches, without needing tzdata.
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::time_t time = 0;
    const bool accepted = ParseTimeStamp(text, time);
    if (accepted) {
        Require(text.size() == 14);
        Require(std::all_of(text.begin(), text.end(),
                            [](unsigned char c) { return std::isdigit(c) != 0; }));
        Require(FormatTimeStamp(time) == text);
    } else {
        Require(time == -1);
    }
    const std::string display = TimeStampToDisplayText(text);
    Require(accepted || display == text);
    return 0;
}
