#include "CentreSimulator.h"

#include <cstdio>

namespace {

constexpr char STX = 0x02, ETX = 0x03, EOT = 0x04, ACK = 0x06, CR = 0x0D, NAK = 0x15, ESC = 0x1B;
constexpr size_t kTapChecksumLength = 3;

std::string Hex2(unsigned value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

unsigned ByteSum(std::string_view text) {
    unsigned sum = 0;
    for (char c : text) {
        sum += static_cast<unsigned char>(c);
    }
    return sum;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

} // namespace

SimAnswer SimAnswer::InPieces(const std::string& text, size_t count) {
    SimAnswer answer;
    const size_t parts = count == 0 ? 1 : count;
    const size_t size = (text.size() + parts - 1) / parts;
    for (size_t at = 0; at < text.size(); at += size) {
        answer.pieces.push_back(text.substr(at, size));
    }
    return answer;
}

void CCentreSimulator::QueueAnswer(const std::string& unitKind, SimAnswer answer) {
    m_queued[unitKind].push_back(std::move(answer));
}

std::vector<SimAnswer> CCentreSimulator::Feed(std::string_view bytes) {
    m_received.append(bytes);
    m_pending.append(bytes);
    std::vector<SimAnswer> answers;
    SimUnit unit;
    while (m_kind == SimCentreKind::Tap ? TakeTapUnit(unit) : TakeUcpUnit(unit)) {
        m_units.push_back(unit);
        answers.push_back(AnswerTo(unit));
    }
    return answers;
}

bool CCentreSimulator::TakeTapUnit(SimUnit& unit) {
    if (m_pending.empty()) {
        return false;
    }
    size_t end = std::string::npos;
    if (m_pending[0] == STX) {
        const size_t etx = m_pending.find(ETX);
        const size_t cr = etx + 1 + kTapChecksumLength;
        if (etx == std::string::npos || m_pending.size() <= cr) {
            return false;
        }
        unit.kind = m_pending[cr] == CR ? "block" : "other";
        end = cr + 1;
    } else {
        const size_t cr = m_pending.find(CR);
        if (cr == std::string::npos) {
            return false;
        }
        end = cr + 1;
        const std::string line = m_pending.substr(0, cr);
        unit.kind = line.empty()                          ? "prompt"
                    : line == std::string(1, ESC) + "PG1" ? "logon"
                    : line == std::string(1, EOT)         ? "end"
                                                          : "other";
    }
    unit.bytes = m_pending.substr(0, end);
    m_pending.erase(0, end);
    return true;
}

bool CCentreSimulator::TakeUcpUnit(SimUnit& unit) {
    const size_t stx = m_pending.find(STX);
    if (stx == std::string::npos) {
        m_pending.clear();
        return false;
    }
    const size_t etx = m_pending.find(ETX, stx);
    if (etx == std::string::npos) {
        m_pending.erase(0, stx);
        return false;
    }
    unit.kind = "frame";
    unit.bytes = m_pending.substr(stx, etx - stx + 1);
    m_pending.erase(0, etx + 1);
    return true;
}

SimAnswer CCentreSimulator::AnswerTo(const SimUnit& unit) {
    auto queued = m_queued.find(unit.kind);
    if (queued == m_queued.end() || queued->second.empty()) {
        return DefaultAnswer(unit);
    }
    SimAnswer answer = std::move(queued->second.front());
    queued->second.pop_front();
    return answer;
}

SimAnswer CCentreSimulator::DefaultAnswer(const SimUnit& unit) const {
    const std::string text = m_bSilent ? "" : DefaultText(unit);
    return text.empty() ? SimAnswer::Silence() : SimAnswer::InPieces(text, m_pieces);
}

std::string CCentreSimulator::DefaultText(const SimUnit& unit) const {
    if (unit.kind == "prompt") {
        return "ID=";
    }
    if (unit.kind == "logon") {
        return std::string("110 1.8\r") + ESC + "[p\r";
    }
    if (unit.kind == "block") {
        return m_bTapRefusal ? std::string("212 Refused\r") + NAK + "\r"
                             : std::string("211 Message accepted\r") + ACK + "\r";
    }
    if (unit.kind == "end") {
        return std::string("115 Goodbye\r") + ESC + EOT + "\r";
    }
    if (unit.kind == "frame") {
        const std::vector<std::string> fields = Split(unit.bytes, '/');
        const std::string operation = fields.size() > 3 ? fields[3] : "51";
        const std::string recipient = fields.size() > 4 ? fields[4] : "";
        if (!m_ucpError.empty()) {
            return UcpAnswer(operation, "N/" + m_ucpError + "/");
        }
        return UcpAnswer(operation, operation == "51" ? "A//" + recipient + ":010100120000" : "A/");
    }
    return "";
}

std::string CCentreSimulator::UcpAnswer(const std::string& operation, const std::string& body) {
    std::string text = "01/00000/R/" + operation + "/" + body + "/00";
    char length[6];
    std::snprintf(length, sizeof length, "%05zu", text.size());
    text.replace(3, 5, length);
    text.replace(text.size() - 2, 2,
                 Hex2(ByteSum(std::string_view(text).substr(0, text.size() - 2))));
    return STX + text + ETX;
}

bool CCentreSimulator::IsValidUcpFrame(const std::string& frame) {
    if (frame.size() < 12 || frame.front() != STX || frame.back() != ETX) {
        return false;
    }
    const std::string text = frame.substr(1, frame.size() - 2);
    char length[6];
    std::snprintf(length, sizeof length, "%05zu", text.size());
    return text.compare(3, 5, length) == 0 &&
           text.substr(text.size() - 2) ==
               Hex2(ByteSum(std::string_view(text).substr(0, text.size() - 2)));
}

bool CCentreSimulator::IsValidTapBlock(const std::string& block) {
    const size_t etx = block.find(ETX);
    if (block.empty() || block.front() != STX || etx == std::string::npos ||
        block.size() != etx + 1 + kTapChecksumLength + 1) {
        return false;
    }
    const unsigned sum = ByteSum(std::string_view(block).substr(0, etx + 1)) & 0xFFF;
    const std::string expected = {static_cast<char>('0' + (sum >> 8)),
                                  static_cast<char>('0' + ((sum >> 4) & 0xF)),
                                  static_cast<char>('0' + (sum & 0xF))};
    return block.compare(etx + 1, kTapChecksumLength, expected) == 0;
}
