// Passing over taken lines: every version this processor runs agrees with
// the plain one, the plain one stops where the format says a scan must look
// closer, and a scan of a log larger than the reader's buffer takes what the
// format's rules, applied line by line to the bytes, say it must take.
#include "TakenLineRun.h"
#include "FieldText.h"
#include "LMLogFile.h"
#include "TempDir.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace std::string_literals;

const std::string kTaken = "00000000000000;ALPHA;1;;a.exe;1;1;0;taken\n";

struct RunCase {
    std::string Text;
    size_t Length; // of the run
    int32_t Lines;
};

class PlainRunTest : public testing::TestWithParam<RunCase> {};

TEST_P(PlainRunTest, EndsWhereAScanMustLookCloser) {
    int32_t lines = 5;
    EXPECT_EQ(SkipTakenLinesPlain(GetParam().Text, lines), GetParam().Length);
    EXPECT_EQ(lines, 5 + GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlainRunTest,
    testing::Values(RunCase{kTaken + kTaken, 2 * kTaken.size(), 2},
                    RunCase{"0;;;;;;;;\r\n" + kTaken, 11 + kTaken.size(), 2}, // CR LF, short date
                    RunCase{kTaken + "19980301235959;ALPHA;1;;a.exe;1;1;0;open\n", kTaken.size(),
                            1},
                    RunCase{kTaken + ";ALPHA;1;;a.exe;1;1;0;no date\n", kTaken.size(), 1},
                    RunCase{kTaken + "0;ALPHA;1;;a.exe;1;1;0\n", kTaken.size(), 1}, // 8 fields
                    RunCase{kTaken + "0;ALPHA;1;;a.exe;1;1;0;d;e\n", kTaken.size(), 1},
                    RunCase{kTaken + "0;ALPHA;1;;a.exe;1;1;0;d\0;\n"s, kTaken.size(), 1}, // NUL
                    RunCase{kTaken + "\n" + kTaken, kTaken.size(), 1},
                    RunCase{kTaken + kTaken.substr(0, kTaken.size() - 1), kTaken.size(), 1},
                    RunCase{"", 0, 0}));

// Lines of every kind, mostly taken ones of lengths around the 64-byte steps
// of the vector versions.
class RandomLines {
public:
    explicit RandomLines(unsigned seed) : m_random(seed) {}
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    // About one line in `open` is not taken over, one in `odd` of an odd shape.
    std::string Line(int open, int odd) {
        static const char* const dates[] = {"20240115100000", "", "2024", "0"};
        std::string date = Pick(open) == 0 ? dates[Pick(4)] : "00000000000000";
        std::string line = date + ";" + (Pick(2) ? "ALPHA" : "beta") + ";" +
                           std::to_string(Pick(3)) + ";svc;a.exe;1;1;0;" +
                           std::string(static_cast<size_t>(Pick(150)), 'x');
        switch (Pick(odd) == 0 ? Pick(4) : -1) {
        case 0:
            line += ";extra";
            break;
        case 1:
            line.erase(line.rfind(';'), 1);
            break;
        case 2: // a NUL ends the text of the line there
            line.insert(static_cast<size_t>(Pick(static_cast<int>(line.size()))), 1, '\0');
            break;
        case 3:
            line.clear();
            break;
        }
        return line + (Pick(3) ? "\n" : "\r\n");
    }
    std::string Lines(size_t bytes, int open, int odd) {
        std::string text;
        while (text.size() < bytes)
            text += Line(open, odd);
        return text;
    }

private:
    std::mt19937 m_random;
};

TEST(TakenLineRunTest, EveryVersionAgreesWithThePlainOne) {
    const std::vector<TakenLineSkipper> skippers = TakenLineSkippers();
    ASSERT_STREQ(skippers.back().Name, "plain");
    for (const TakenLineSkipper& skipper : skippers) {
        SCOPED_TRACE(skipper.Name);
        for (unsigned seed = 1; seed <= 3000; ++seed) {
            RandomLines random(seed);
            std::string text = random.Lines(static_cast<size_t>(random.Pick(1500)), 40, 40);
            text.resize(static_cast<size_t>(random.Pick(static_cast<int>(text.size()) + 1)));
            int32_t expectedLines = 0, lines = 0;
            const size_t expected = SkipTakenLinesPlain(text, expectedLines);
            ASSERT_EQ(skipper.Skip(text, lines), expected) << "seed " << seed;
            ASSERT_EQ(lines, expectedLines) << "seed " << seed;
        }
    }
}

struct ScanResult {
    int32_t Taken = 0; // the line taken; 0 for none
    int32_t Unmarkable = 0;
    int32_t ResumeLine = 0;
    off_t ResumeOffset = 0;
    bool operator==(const ScanResult&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ScanResult& r) {
    return out << "taken " << r.Taken << ", unmarkable " << r.Unmarkable << ", resume at line "
               << r.ResumeLine << " byte " << r.ResumeOffset;
}

// What a scan from line 1 for ALPHA must give, by the rules of the format
// applied to the bytes one line after the other.
ScanResult ScanByTheRules(const std::string& bytes) {
    ScanResult result;
    int32_t number = 0;
    size_t begin = 0;
    while (begin < bytes.size()) {
        const size_t end = std::min(bytes.find('\n', begin), bytes.size());
        std::string_view line(bytes.data() + begin, end - begin);
        ++number;
        result.ResumeLine = number;
        result.ResumeOffset = static_cast<off_t>(begin);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = line.substr(0, line.find('\0'));
        AgentLogEntry entry;
        if (CountFields(line, ';') != 9)
            return result;
        if (line.front() == ';')
            result.Unmarkable = number;
        else if (line.front() != '0' && ParseAgentLogLine(line, number, entry) &&
                 entry.Source != 0 && entry.Type != 0 && EqualsNoCase(entry.Computer, "alpha")) {
            result.Taken = number;
            return result;
        }
        if (end == bytes.size())
            return result; // a last line without LF is never passed over
        begin = end + 1;
    }
    result.ResumeLine = number + 1;
    result.ResumeOffset = static_cast<off_t>(bytes.size());
    return result;
}

// Scans from line 1 and marks the line it takes, as an audition check does.
ScanResult ScanAndMark(const std::string& path) {
    LMLogFile file([](std::chrono::milliseconds) {});
    ScanResult result;
    AgentLogEntry entry;
    if (!file.Open(path) || !file.SeekToEntry(1))
        return result;
    if (file.ReadNextEntry("alpha", entry) && file.MarkProcessed(entry.EventID))
        result.Taken = entry.EventID;
    result.Unmarkable = file.GetLastUnmarkableLine();
    const CLogResumePoint point = file.GetResumePoint();
    result.ResumeLine = point.Line();
    result.ResumeOffset = point.Offset();
    return result;
}

// Logs of about 1 MiB, several times the reader's buffer, with a line not
// taken over about every 1,500 lines and one of an odd shape about every
// 20,000, scanned from line 1 until a scan takes nothing.
TEST(TakenLineRunTest, ScanOfALogLargerThanTheBufferFollowsTheRules) {
    TempDir dir;
    const std::string path = dir.Path("ALPHA.log");
    int deepScans = 0;
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomLines random(seed);
        TempDir::Write(path, random.Lines(1u << 20, 1500, 20000));
        for (int scan = 0; scan < 20; ++scan) {
            const ScanResult expected = ScanByTheRules(TempDir::Read(path));
            ASSERT_EQ(ScanAndMark(path), expected);
            deepScans += expected.ResumeOffset > (1 << 18);
            if (expected.Taken == 0)
                break;
        }
    }
    EXPECT_GT(deepScans, 4); // scans reached lines beyond the first buffer
}

} // namespace
