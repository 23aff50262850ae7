// The network audition, which the console performs itself: it pings the
// watched address through the gateway and counts the pings that got no answer;
// three of them make one error signal.
#pragma once

#include "AuditionEntry.h"
#include "IPinger.h"

#include <cstdint>
#include <ctime>
#include <string>

// Gateway answers with a meaning of their own; every positive answer is a
// ping without reply.
inline constexpr int32_t PING_ANSWER_REPLY = 0;
inline constexpr int32_t PING_ANSWER_NO_GATEWAY = -1;
inline constexpr int32_t PING_ANSWER_REQUEST_FAILED = -2;
// Failed pings that make one error signal.
inline constexpr int32_t PING_FAILURES_PER_SIGNAL = 3;
// The echo time-out in seconds is kept within what the configuration page offers.
inline constexpr int32_t PING_TIMEOUT_MIN_SECONDS = 1;
inline constexpr int32_t PING_TIMEOUT_MAX_SECONDS = 30;

struct NetAuditionResult {
    bool Error = false;         // the entry's Signal is filled
    bool StopAudition = false;  // no gateway: stop the audition, not silently
    std::string ErrorEventLine; // when not empty: an event view line of kind EVENT_VIEW_ERROR
};

// One check of a running network audition at `now`. Updates NextPing,
// PingFailures and FirstCheck of the entry and, on error, its Signal (without
// DATE, which the audition thread sets). A started audition pings at once;
// while failures are being counted it pings at every check; otherwise every
// CHECK_INTERVAL minutes. A successful ping does not reset the count.
NetAuditionResult CheckNetAudition(AuditionEntry& entry, std::time_t now, IPinger& pinger);

// The echo time-out of a TIMEOUT setting, in milliseconds.
uint32_t PingTimeoutMs(int32_t timeoutSeconds);
