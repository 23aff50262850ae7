#include "NetAudition.h"

#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"
#include "TARNTool.h"

#include <algorithm>

namespace {

bool IsFailedPing(int32_t answer) {
    return answer > 0 || answer == PING_ANSWER_REQUEST_FAILED;
}

DBHEvent NotAnsweringSignal(const DBAuditionNet& settings, int32_t answer) {
    const std::string code = std::to_string(answer);
    DBHEvent signal;
    signal.COMPUTER = settings.SERVER_PATH;
    signal.SOURCE = EVENT_SOURCE_CONSOLE;
    signal.TYPE = EVENT_TYPE_ERROR;
    signal.CATEGORY = EVENT_CATEGORY_NET;
    signal.INFO_ID = code;
    signal.EVENT_DESCRIPTION =
        FillMessage(LoadTarnString(IDS_HOST_NOT_ANSWERING), {settings.SERVER_PATH, code});
    return signal;
}

// Counts a failed ping; true when it completes a signal.
bool CountFailure(AuditionEntry& entry) {
    if (++entry.PingFailures < PING_FAILURES_PER_SIGNAL)
        return false;
    entry.PingFailures = 0;
    return true;
}

} // namespace

uint32_t PingTimeoutMs(int32_t timeoutSeconds) {
    return static_cast<uint32_t>(
               std::clamp(timeoutSeconds, PING_TIMEOUT_MIN_SECONDS, PING_TIMEOUT_MAX_SECONDS)) *
           1000u;
}

NetAuditionResult CheckNetAudition(AuditionEntry& entry, std::time_t now, IPinger& pinger) {
    const DBAuditionNet& settings = entry.Definition.Net;
    NetAuditionResult result;
    if (entry.FirstCheck)
        entry.NextPing = now;
    if (entry.PingFailures != 0 || now >= entry.NextPing) {
        const int32_t answer = pinger.Ping(settings.IP_ADDRESS, PingTimeoutMs(settings.TIMEOUT));
        if (answer == PING_ANSWER_NO_GATEWAY) {
            result.ErrorEventLine = LoadTarnString(IDS_NO_TCPIP);
            result.StopAudition = true;
        } else if (IsFailedPing(answer) && CountFailure(entry)) {
            entry.Signal = NotAnsweringSignal(settings, answer);
            result.Error = true;
        }
        entry.NextPing = static_cast<std::time_t>(now + int64_t{settings.CHECK_INTERVAL} * 60);
    }
    entry.FirstCheck = false;
    return result;
}
