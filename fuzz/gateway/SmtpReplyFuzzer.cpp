// Feeds an arbitrary conversation to the tracker of SMTP refusals: the input
// is split at NUL bytes into pieces, taken in turn as a reply of the server
// and as a command line of ours. Checks that a refusal is noted exactly when a
// reply line starts with 4 or 5 (unless it answers QUIT), that it names the
// command it answered, and that refusals while connecting never count as the
// server refusing the mail.
#include "FuzzSupport.h"
#include "SmtpReplyTracker.h"

#include <cstdint>
#include <string_view>

namespace {

bool HasRefusalLine(std::string_view text) {
    for (size_t start = 0; start <= text.size();) {
        const size_t end = text.find('\n', start);
        const std::string_view line = text.substr(start, end - start);
        if (!line.empty() && (line[0] == '4' || line[0] == '5'))
            return true;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view conversation(reinterpret_cast<const char*>(data), size);
    CSmtpReplyTracker tracker;
    bool reply = true; // the greeting comes first
    bool refused = false;
    for (size_t start = 0; start <= conversation.size(); reply = !reply) {
        const size_t end = conversation.find('\0', start);
        const std::string_view piece = conversation.substr(start, end - start);
        if (reply) {
            const bool refusal = tracker.LastCommand() != "QUIT" && HasRefusalLine(piece);
            tracker.OnReply(piece);
            refused = refused || refusal;
            if (refusal)
                Require(tracker.RefusedCommand() == tracker.LastCommand());
        } else {
            tracker.OnCommand(piece);
            Require(tracker.LastCommand().find_first_of(" \r\n") == std::string::npos);
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    Require(tracker.Refused() == refused);
    if (tracker.RefusedAfterConnect())
        Require(tracker.RefusedCommand() != "EHLO" && tracker.RefusedCommand() != "HELO" &&
                tracker.RefusedCommand() != "STARTTLS" && !tracker.RefusedCommand().empty());
    return 0;
}
