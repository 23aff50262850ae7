// An SMS centre played over a simulated modem call: recognises what the caller
// sends (TAP prompt requests, log-on, blocks, end; UCP frames), records it and
// answers as it has been told, by default positively.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

enum class SimCentreKind { Tap, Ucp };

// What one answer looks like on the line: its pieces are written one after
// the other with a pause between them; no pieces is silence.
struct SimAnswer {
    std::vector<std::string> pieces;

    static SimAnswer Silence() { return {}; }
    static SimAnswer Whole(std::string text) { return {{std::move(text)}}; }
    // The text cut into `count` pieces of about equal length.
    static SimAnswer InPieces(const std::string& text, size_t count);
};

// One thing the caller sent: "prompt", "logon", "block", "end" (TAP),
// "frame" (UCP), or "other".
struct SimUnit {
    std::string kind;
    std::string bytes;
};

class CCentreSimulator {
public:
    explicit CCentreSimulator(SimCentreKind kind) : m_kind(kind) {}

    SimCentreKind Kind() const { return m_kind; }
    // Answers for the next units of a kind, used in order; once they are used
    // up the default answer comes back.
    void QueueAnswer(const std::string& unitKind, SimAnswer answer);
    // How the centre answers when nothing is queued: UCP frames refused with
    // this error code (empty: accepted), TAP blocks refused with NAK, no
    // answers at all, every answer cut into this many pieces.
    void SetUcpError(std::string code) { m_ucpError = std::move(code); }
    void SetTapRefusal(bool refuse) { m_bTapRefusal = refuse; }
    void SetSilent(bool silent) { m_bSilent = silent; }
    void SetPieces(size_t pieces) { m_pieces = pieces; }
    // A new call: half-received units are dropped.
    void NewCall() { m_pending.clear(); }
    // Takes bytes from the caller; returns the answers to send, in order.
    std::vector<SimAnswer> Feed(std::string_view bytes);

    const std::vector<SimUnit>& Units() const { return m_units; }
    const std::string& Received() const { return m_received; }

    // A UCP answer: STX "01/<length>/R/<operation>/<body>/<checksum>" ETX.
    static std::string UcpAnswer(const std::string& operation, const std::string& body);
    // Whether a UCP frame's length field and checksum are right.
    static bool IsValidUcpFrame(const std::string& frame);
    // Whether a TAP block's checksum is right.
    static bool IsValidTapBlock(const std::string& block);

private:
    bool TakeTapUnit(SimUnit& unit);
    bool TakeUcpUnit(SimUnit& unit);
    SimAnswer AnswerTo(const SimUnit& unit);
    SimAnswer DefaultAnswer(const SimUnit& unit) const;
    std::string DefaultText(const SimUnit& unit) const;

    SimCentreKind m_kind;
    std::string m_pending;
    std::string m_received;
    std::vector<SimUnit> m_units;
    std::map<std::string, std::deque<SimAnswer>> m_queued;
    std::string m_ucpError;
    bool m_bTapRefusal = false;
    bool m_bSilent = false;
    size_t m_pieces = 1;
};
