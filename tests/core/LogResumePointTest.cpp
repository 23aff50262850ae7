// A scan that goes on at a resume point must give what a scan from line 1
// gives: the same line taken, the same line named as unmarkable, the same
// bytes in the file. Checked on seeded random logs and random changes, and
// the fall-backs one by one.
#include "LMLogFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace {

struct CheckResult {
    std::string Taken; // the fields of the taken line; empty when none
    int32_t UnmarkableLine = 0;
    bool operator==(const CheckResult&) const = default;
};

// One agent audition check: the first line of computer ALPHA with the module
// is taken. With a point, the scan goes on there when it holds.
CheckResult Check(const std::string& path, const std::string& module,
                  CLogResumePoint* point = nullptr, bool* resumed = nullptr) {
    LMLogFile file([](std::chrono::milliseconds) {});
    CheckResult result;
    if (!file.Open(path))
        return result;
    const bool goesOn = point != nullptr && file.ResumeAt(*point);
    if (resumed)
        *resumed = goesOn;
    AgentLogEntry line;
    if (goesOn || file.SeekToEntry(1)) {
        while (file.ReadNextEntry("alpha", line)) {
            if (line.SourceModuleName == module) {
                if (file.MarkProcessed(line.EventID))
                    result.Taken = std::to_string(line.EventID) + "|" + line.Date + "|" +
                                   line.Computer + "|" + line.EventDescription;
                break;
            }
        }
    }
    result.UnmarkableLine = file.GetLastUnmarkableLine();
    if (point)
        *point = file.GetResumePoint();
    return result;
}

class RandomLog {
public:
    explicit RandomLog(unsigned seed) : m_random(seed) {}

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    std::string Line() {
        static const char* const dates[] = {"20240115100000", "00000000000000", "", "2024"};
        static const char* const computers[] = {"ALPHA", "alpha", "BETA"};
        static const char* const modules[] = {"a.exe", "b.exe", "c.exe"};
        std::string line = std::string(dates[Pick(4)]) + ";" + computers[Pick(3)] + ";" +
                           std::to_string(Pick(3)) + ";svc;" + modules[Pick(3)] + ";1;1;0;" +
                           "event " + std::to_string(++m_serial);
        if (Pick(25) == 0)
            line += ";a tenth field";
        if (Pick(40) == 0)
            line.insert(line.size() / 2, 1, '\0');
        return line + (Pick(2) ? "\r\n" : "\n");
    }
    std::string Lines(int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += Line();
        if (Pick(6) == 0 && !text.empty())
            text.pop_back(); // the last line has no line end (yet)
        return text;
    }

private:
    std::mt19937 m_random;
    int m_serial = 0;
};

void Append(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

void Replace(const std::string& path, const std::string& bytes) {
    TempDir::Write(path + ".new", bytes);
    ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
}

// Overwrites the file in place, keeping its length and inode.
void Rewrite(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::pwrite(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

// Applies one random change to both copies of the log.
void Change(RandomLog& log, const std::string& full, const std::string& resumed) {
    const std::string size = TempDir::Read(full);
    switch (log.Pick(8)) {
    case 0: { // truncation
        const off_t length = log.Pick(static_cast<int>(size.size()) + 1);
        ASSERT_EQ(::truncate(full.c_str(), length), 0);
        ASSERT_EQ(::truncate(resumed.c_str(), length), 0);
        break;
    }
    case 1: { // rotation: a new file under the name
        const std::string text = log.Lines(log.Pick(20));
        Replace(full, text);
        Replace(resumed, text);
        break;
    }
    case 2: { // a rewrite of the same length
        std::string text = log.Lines(static_cast<int>(size.size() / 20) + 2);
        text.resize(size.size(), '\n');
        Rewrite(full, text);
        Rewrite(resumed, text);
        break;
    }
    default: { // appends
        const std::string text = log.Lines(log.Pick(6));
        Append(full, text);
        Append(resumed, text);
        break;
    }
    }
}

TEST(LogResumePointTest, ResumedScanGivesWhatAFullScanGives) {
    const std::string modules[] = {"a.exe", "b.exe", "c.exe"};
    int resumedChecks = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempDir dir;
        const std::string full = dir.Path("full.log"), resumed = dir.Path("resumed.log");
        RandomLog log(seed);
        const std::string text = log.Lines(log.Pick(30));
        TempDir::Write(full, text);
        TempDir::Write(resumed, text);
        CLogResumePoint points[3];
        for (int step = 0; step < 30; ++step) {
            if (log.Pick(3) == 0) {
                Change(log, full, resumed);
                continue;
            }
            const int audition = log.Pick(3);
            bool wentOn = false;
            const CheckResult expected = Check(full, modules[audition]);
            ASSERT_EQ(Check(resumed, modules[audition], &points[audition], &wentOn), expected);
            ASSERT_EQ(TempDir::Read(resumed), TempDir::Read(full));
            resumedChecks += wentOn;
        }
    }
    EXPECT_GT(resumedChecks, 1000); // most checks really went on at a point
}

class ResumeFallBackTest : public testing::Test {
protected:
    TempDir dir;
    std::string path = dir.Path("ALPHA.log");
    const std::string taken = "00000000000000;ALPHA;1;;a.exe;1;1;0;taken long ago\n";
    const std::string open = "20240115100000;ALPHA;1;;a.exe;1;1;0;new\n";
    CLogResumePoint point;

    void SetUp() override {
        TempDir::Write(path, taken + taken);
        ASSERT_EQ(Check(path, "a.exe", &point).Taken, "");
        ASSERT_EQ(point.Line(), 3);
    }
    bool GoesOn() {
        LMLogFile file([](std::chrono::milliseconds) {});
        return file.Open(path) && file.ResumeAt(point);
    }
};

TEST_F(ResumeFallBackTest, AppendedLogGoesOnAndTakesTheNewLine) {
    Append(path, open);
    EXPECT_TRUE(GoesOn());
    bool wentOn = false;
    EXPECT_EQ(Check(path, "a.exe", &point, &wentOn).Taken, "3|20240115100000|ALPHA|new");
    EXPECT_TRUE(wentOn);
    EXPECT_EQ(point.Line(), 3); // the taken line is passed over next time
}

TEST_F(ResumeFallBackTest, RotatedLogIsScannedFromTheFirstLine) {
    Replace(path, taken + taken + open);
    EXPECT_FALSE(GoesOn());
    EXPECT_EQ(Check(path, "a.exe", &point).Taken, "3|20240115100000|ALPHA|new");
}

TEST_F(ResumeFallBackTest, TruncatedLogIsScannedFromTheFirstLine) {
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(taken.size())), 0);
    EXPECT_FALSE(GoesOn());
    Append(path, open + open); // longer again, but not what it was
    EXPECT_FALSE(GoesOn());
    EXPECT_EQ(Check(path, "a.exe", &point).Taken, "2|20240115100000|ALPHA|new");
}

TEST_F(ResumeFallBackTest, SameLengthRewriteIsScannedFromTheFirstLine) {
    std::string rewritten = taken + taken;
    rewritten.replace(rewritten.size() - 6, 5, "LATER");
    Rewrite(path, rewritten);
    EXPECT_FALSE(GoesOn());
}

TEST_F(ResumeFallBackTest, DateZeroedByAMarkBeforeThePointStillHolds) {
    TempDir::Write(path, open);
    ASSERT_EQ(Check(path, "b.exe", &point).Taken, ""); // passed over: not this module
    ASSERT_EQ(Check(path, "a.exe").Taken, "1|20240115100000|ALPHA|new");
    EXPECT_TRUE(GoesOn());
}

} // namespace
