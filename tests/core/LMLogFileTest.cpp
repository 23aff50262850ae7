#include "LMLogFile.h"
#include "TempDir.h"
#include "TraceCapture.h"

#include <gtest/gtest.h>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using std::chrono::milliseconds;

std::string Line(std::string date, std::string computer, std::string source = "1",
                 std::string name = "", std::string module = "explorer.exe", std::string type = "1",
                 std::string category = "1", std::string info = "0",
                 std::string description = "Anwendung beendet") {
    return date + ";" + computer + ";" + source + ";" + name + ";" + module + ";" + type + ";" +
           category + ";" + info + ";" + description;
}

const std::string kDate = "19980301235959";
const std::string kTaken = "00000000000000";

class LMLogFileTest : public testing::Test {
protected:
    TempDir dir;
    TraceCapture trace;
    std::string path = dir.Path("ALPHA.log");
    std::vector<milliseconds> waits;
    LMLogFile::SleepFunction recordWaits = [this](milliseconds delay) { waits.push_back(delay); };

    void Write(const std::string& bytes) { TempDir::Write(path, bytes); }
    std::string Read() const { return TempDir::Read(path); }

    // Opens, scans from line 1 for the computer, marks what it finds, closes:
    // what the audition thread does in one check.
    std::optional<AgentLogEntry> TakeNext(const std::string& computer) {
        LMLogFile file(recordWaits);
        if (!file.Open(path) || !file.SeekToEntry(1))
            return std::nullopt;
        AgentLogEntry entry;
        if (!file.ReadNextEntry(computer, entry))
            return std::nullopt;
        EXPECT_TRUE(file.MarkProcessed(entry.EventID));
        return entry;
    }
};

TEST_F(LMLogFileTest, TakesAMatchingLineOnceAndMarksOnlyItsDate) {
    const std::string line =
        Line(kDate, "ALPHA", "1", "", "explorer.exe", "1", "1", "0", "Die Anwendung wurde beendet");
    Write(line + "\r\n");
    auto entry = TakeNext("alpha");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->EventID, 1);
    EXPECT_EQ(entry->Date, kDate);
    EXPECT_EQ(entry->Computer, "ALPHA");
    EXPECT_EQ(entry->Source, 1);
    EXPECT_EQ(entry->SourceName, "");
    EXPECT_EQ(entry->SourceModuleName, "explorer.exe");
    EXPECT_EQ(entry->Type, 1);
    EXPECT_EQ(entry->Category, 1);
    EXPECT_EQ(entry->InfoID, "0");
    EXPECT_EQ(entry->EventDescription, "Die Anwendung wurde beendet");
    EXPECT_EQ(Read(), kTaken + line.substr(14) + "\r\n");
    EXPECT_FALSE(TakeNext("alpha")); // skipped by every later scan
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(trace.AssertCount(), 0u);
}

TEST_F(LMLogFileTest, ScanSkipsTakenForeignAndZeroCodedLines) {
    Write(Line(kTaken, "ALPHA") + "\n" +                              // 1: taken over
          Line(kDate, "BETA") + "\n" +                                // 2: other computer
          Line(kDate, "ALPHA", "0") + "\n" +                          // 3: SOURCE 0
          Line(kDate, "ALPHA", "1", "", "x", "0") + "\n" +            // 4: TYPE 0
          Line("0" + kDate.substr(1), "ALPHA") + "\n" +               // 5: date begins with "0"
          Line(kDate, "alpha", "2", "Spooler", "", "1", "2") + "\n" + // 6: found
          Line(kDate, "ALPHA", "1", "", "b.exe") + "\n");             // 7: found next
    auto first = TakeNext("Alpha");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->EventID, 6);
    EXPECT_EQ(first->SourceName, "Spooler");
    auto second = TakeNext("Alpha");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->EventID, 7);
    EXPECT_FALSE(TakeNext("Alpha"));
    auto beta = TakeNext("BETA");
    ASSERT_TRUE(beta);
    EXPECT_EQ(beta->EventID, 2);
}

TEST_F(LMLogFileTest, LineWithoutLineEndAtTheEndIsRead) {
    Write(Line(kTaken, "ALPHA") + "\n" + Line(kDate, "ALPHA"));
    auto entry = TakeNext("ALPHA");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->EventID, 2);
    EXPECT_EQ(Read(), Line(kTaken, "ALPHA") + "\n" + Line(kTaken, "ALPHA"));
}

// A line that is not made of nine fields ends every scan, like the end of the file.
class MalformedLineTest : public LMLogFileTest, public testing::WithParamInterface<std::string> {};

TEST_P(MalformedLineTest, EndsTheScan) {
    const std::string good = Line(kDate, "ALPHA");
    const std::string content = GetParam() + "\n" + good + "\n";
    Write(content);
    EXPECT_FALSE(TakeNext("ALPHA"));
    EXPECT_EQ(Read(), content);

    LMLogFile file(recordWaits);
    ASSERT_TRUE(file.Open(path));
    AgentLogEntry entry;
    EXPECT_FALSE(file.ReadEntry(entry));
    EXPECT_EQ(file.GetPosition(), 2); // the line was read and counted
    EXPECT_TRUE(file.ReadEntry(entry));
    EXPECT_EQ(entry.EventID, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedLineTest,
    testing::Values(Line(kDate, "ALPHA").substr(0, Line(kDate, "ALPHA").rfind(';')),
                    Line(kDate, "ALPHA") + ";extra", std::string(),
                    std::string("1998;ALPHA\0;1;;x;1;1;0;d", 24)));

TEST_F(LMLogFileTest, TextEndsAtANulByte) {
    const std::string line = Line(kDate, "ALPHA", "1", "", "x.exe", "1", "1", "0",
                                  std::string("vorher\0nachher;mehr", 19));
    Write(line + "\n");
    auto entry = TakeNext("ALPHA");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->EventDescription, "vorher");
    EXPECT_EQ(Read(), kTaken + line.substr(14) + "\n"); // the bytes after NUL stay
}

TEST_F(LMLogFileTest, Windows1252LineIsConvertedAndKeptInTheFile) {
    const std::string line =
        Line(kDate, "K\xD6LN", "2", "Spooler", "", "1", "2", "7036", "Dienst gest\xF6rt");
    Write(line + "\r\n");
    auto entry = TakeNext("K\xC3\x96LN");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Computer, "K\xC3\x96LN");
    EXPECT_EQ(entry->EventDescription, "Dienst gest\xC3\xB6rt");
    EXPECT_EQ(Read(), kTaken + line.substr(14) + "\r\n");
}

TEST_F(LMLogFileTest, OneMebibyteLineIsReadWhole) {
    const std::string description(1u << 20, 'x');
    const std::string big = Line(kDate, "ALPHA", "1", "", "big.exe", "1", "1", "0", description);
    const std::string after = Line(kDate, "ALPHA", "1", "", "after.exe");
    Write(big + "\n" + after + "\n");
    auto entry = TakeNext("ALPHA");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->EventDescription.size(), description.size());
    auto next = TakeNext("ALPHA");
    ASSERT_TRUE(next);
    EXPECT_EQ(next->SourceModuleName, "after.exe");
    EXPECT_EQ(Read(), kTaken + big.substr(14) + "\n" + kTaken + after.substr(14) + "\n");
}

TEST_F(LMLogFileTest, OverlongLineEndsTheScanButStillCountsAsALine) {
    const std::string huge =
        Line(kDate, "ALPHA", "1", "", "x", "1", "1", "0", std::string(kAgentLogMaxLineLength, 'y'));
    Write(huge + "\n" + Line(kDate, "ALPHA") + "\n");
    EXPECT_FALSE(TakeNext("ALPHA"));
    LMLogFile file(recordWaits);
    ASSERT_TRUE(file.Open(path));
    ASSERT_TRUE(file.SeekToEntry(2));
    AgentLogEntry entry;
    ASSERT_TRUE(file.ReadEntry(entry));
    EXPECT_EQ(entry.EventID, 2);
    EXPECT_FALSE(file.MarkProcessed(1)); // not a line anyone can take
}

TEST_F(LMLogFileTest, DateIsZeroedOnlyAsFarAsItReaches) {
    Write(Line("2024", "ALPHA") + "\n" + Line("", "ALPHA") + "\n");
    LMLogFile file(recordWaits);
    ASSERT_TRUE(file.Open(path));
    EXPECT_TRUE(file.MarkProcessed(1));
    EXPECT_FALSE(file.MarkProcessed(2)); // begins with the separator: nothing to zero
    file.Close();
    EXPECT_EQ(Read(), Line("0000", "ALPHA") + "\n" + Line("", "ALPHA") + "\n");
}

TEST_F(LMLogFileTest, ScanSkipsALineThatCannotBeMarked) {
    const std::string undated = Line("", "ALPHA");
    Write(undated + "\n" + Line(kDate, "ALPHA") + "\n");
    EXPECT_FALSE(CanBeMarked(undated));
    EXPECT_TRUE(CanBeMarked(Line("1", "ALPHA")));
    LMLogFile file(recordWaits);
    ASSERT_TRUE(file.Open(path));
    AgentLogEntry entry;
    ASSERT_TRUE(file.SeekToEntry(1));
    ASSERT_TRUE(file.ReadNextEntry("ALPHA", entry));
    EXPECT_EQ(entry.EventID, 2);
    EXPECT_EQ(file.GetLastUnmarkableLine(), 1);
    EXPECT_TRUE(file.MarkProcessed(2));
    ASSERT_TRUE(file.SeekToEntry(1));
    EXPECT_FALSE(file.ReadNextEntry("ALPHA", entry)); // the undated line is never taken
    EXPECT_EQ(file.GetLastUnmarkableLine(), 1);
    file.Close();
    EXPECT_EQ(Read(), undated + "\n" + Line(kTaken, "ALPHA") + "\n");
}

TEST_F(LMLogFileTest, ComputerMatchesIgnoringCaseOfEveryLetter) {
    Write(Line(kDate, "MÜLLER-PC") + "\n" + Line(kDate, "ÉCOLE") + "\n");
    EXPECT_EQ(TakeNext("müller-pc")->EventID, 1);
    EXPECT_EQ(TakeNext("école")->EventID, 2);
}

TEST_F(LMLogFileTest, SeekToEntryCountsLinesFromOne) {
    Write(Line(kDate, "A") + "\n" + Line(kDate, "B") + "\n" + Line(kDate, "C") + "\n");
    LMLogFile file(recordWaits);
    ASSERT_TRUE(file.Open(path));
    EXPECT_EQ(file.GetPosition(), 1);
    AgentLogEntry entry;
    ASSERT_TRUE(file.SeekToEntry(2));
    ASSERT_TRUE(file.ReadEntry(entry));
    EXPECT_EQ(entry.Computer, "B");
    EXPECT_EQ(entry.EventID, 2);
    EXPECT_TRUE(file.SeekToEntry(4)); // just past the last line
    EXPECT_FALSE(file.ReadEntry(entry));
    EXPECT_FALSE(file.SeekToEntry(5));
    EXPECT_FALSE(file.MarkProcessed(4));
    ASSERT_TRUE(file.MarkProcessed(3));
    EXPECT_EQ(file.GetPosition(), 3); // marking steps back to the line's beginning
    ASSERT_TRUE(file.ReadEntry(entry));
    EXPECT_EQ(entry.Date, kTaken);
}

TEST_F(LMLogFileTest, MisuseRaisesAssertionsAndFails) {
    Write(Line(kDate, "ALPHA") + "\n");
    LMLogFile file(recordWaits);
    AgentLogEntry entry;
    EXPECT_FALSE(file.ReadEntry(entry));
    EXPECT_FALSE(file.ReadNextEntry("ALPHA", entry));
    EXPECT_FALSE(file.SeekToEntry(1));
    EXPECT_FALSE(file.MarkProcessed(1));
    ASSERT_TRUE(file.Open(path));
    EXPECT_TRUE(file.Open(path)); // stays open
    EXPECT_FALSE(file.SeekToEntry(0));
    EXPECT_EQ(trace.AssertDescriptions(),
              (std::vector<std::string>{"Datei nicht geöffnet", "Datei nicht geöffnet",
                                        "Datei nicht geöffnet", "Datei nicht geöffnet",
                                        "Datei ist schon geöffnet", "ungültige Position"}));
    const std::string text = trace.Text();
    EXPECT_NE(text.find("Bedingung: !bFileOpen"), std::string::npos);
    EXPECT_NE(text.find("Bedingung: bFileOpen"), std::string::npos);
    EXPECT_NE(text.find("Bedingung: nEntryPosition > 0"), std::string::npos);
    EXPECT_EQ(Read(), Line(kDate, "ALPHA") + "\n");
}

// --- Opening and locking ------------------------------------------------------------

TEST_F(LMLogFileTest, MissingFileFailsAfterFourAttempts) {
    LMLogFile file(recordWaits);
    EXPECT_FALSE(file.Open(path));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(waits, std::vector<milliseconds>(4, milliseconds(1000)));
    EXPECT_FALSE(std::filesystem::exists(path)); // never created
}

TEST_F(LMLogFileTest, OtherThanARegularFileIsRefusedWithoutBlocking) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    LMLogFile file(recordWaits);
    EXPECT_FALSE(file.Open(path));
    EXPECT_EQ(waits.size(), 4u);
}

TEST_F(LMLogFileTest, SecondReaderInTheSameProcessIsLockedOut) {
    Write(Line(kDate, "ALPHA") + "\n");
    LMLogFile first(recordWaits);
    ASSERT_TRUE(first.Open(path));
    LMLogFile second(recordWaits);
    EXPECT_FALSE(second.Open(path));
    EXPECT_EQ(waits.size(), 4u);
    first.Close();
    EXPECT_TRUE(second.Open(path));
}

// A child process that holds a classic fcntl lock on the file, as an agent
// does while it appends, until the parent tells it to let go.
class LockingChild {
public:
    explicit LockingChild(const std::string& path) {
        int ready[2], release[2];
        EXPECT_EQ(::pipe(ready), 0);
        EXPECT_EQ(::pipe(release), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(release[1]); // so that the parent's close reads as the end
            int fd = ::open(path.c_str(), O_RDWR);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            char ok = (fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0) ? '1' : '0';
            [[maybe_unused]] ssize_t n = ::write(ready[1], &ok, 1);
            char byte;
            n = ::read(release[0], &byte, 1);
            ::_exit(0);
        }
        char ok = '0';
        EXPECT_EQ(::read(ready[0], &ok, 1), 1);
        m_bLocked = ok == '1';
        m_release = release[1];
        ::close(ready[0]);
        ::close(ready[1]);
        ::close(release[0]);
    }
    ~LockingChild() { Release(); }
    bool Locked() const { return m_bLocked; }
    void Release() {
        if (m_pid <= 0)
            return;
        ::close(m_release);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_bLocked = false;
};

TEST_F(LMLogFileTest, FileLockedByAnAgentLongerThanFourAttemptsIsNotOpened) {
    const std::string content = Line(kDate, "ALPHA") + "\n";
    Write(content);
    LockingChild agent(path);
    ASSERT_TRUE(agent.Locked());
    LMLogFile file(recordWaits);
    EXPECT_FALSE(file.Open(path));
    EXPECT_EQ(waits, std::vector<milliseconds>(4, milliseconds(1000)));
    agent.Release();
    waits.clear();
    EXPECT_TRUE(file.Open(path));
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(Read(), content);
}

TEST_F(LMLogFileTest, AgentCannotLockWhileTheConsoleHoldsTheFile) {
    Write(Line(kDate, "ALPHA") + "\n");
    LMLogFile file(recordWaits);
    ASSERT_TRUE(file.Open(path));
    EXPECT_FALSE(LockingChild(path).Locked());
    file.Close();
    EXPECT_TRUE(LockingChild(path).Locked());
}

TEST_F(LMLogFileTest, LockIsReleasedWhenTheReaderIsDestroyed) {
    Write(Line(kDate, "ALPHA") + "\n");
    {
        LMLogFile file(recordWaits);
        ASSERT_TRUE(file.Open(path));
    }
    EXPECT_TRUE(LockingChild(path).Locked());
}

// --- The file changes under the reader ------------------------------------------

TEST_F(LMLogFileTest, FileDeletedBetweenReadingAndMarkingIsNotWritten) {
    Write(Line(kDate, "ALPHA") + "\n");
    LMLogFile file(recordWaits);
    ASSERT_TRUE(file.Open(path));
    AgentLogEntry entry;
    ASSERT_TRUE(file.ReadNextEntry("ALPHA", entry));
    ASSERT_EQ(::unlink(path.c_str()), 0);
    EXPECT_FALSE(file.MarkProcessed(entry.EventID));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(LMLogFileTest, FileReplacedBetweenReadingAndMarkingIsNotWritten) {
    Write(Line(kDate, "ALPHA") + "\n");
    LMLogFile file(recordWaits);
    ASSERT_TRUE(file.Open(path));
    AgentLogEntry entry;
    ASSERT_TRUE(file.ReadNextEntry("ALPHA", entry));
    const std::string replacement = Line(kDate, "BETA") + "\n";
    TempDir::Write(dir.Path("new.log"), replacement);
    ASSERT_EQ(::rename(dir.Path("new.log").c_str(), path.c_str()), 0);
    EXPECT_FALSE(file.MarkProcessed(entry.EventID));
    EXPECT_EQ(Read(), replacement);
}

TEST_F(LMLogFileTest, FileThatShrinksWhileOpenIsNeverExtended) {
    const std::string first = Line(kDate, "ALPHA") + "\n";
    Write(first + Line(kDate, "ALPHA") + "\n" + Line(kDate, "ALPHA") + "\n");
    LMLogFile file(recordWaits);
    ASSERT_TRUE(file.Open(path));
    AgentLogEntry entry;
    ASSERT_TRUE(file.SeekToEntry(3));
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(first.size())), 0);
    EXPECT_FALSE(file.MarkProcessed(3));
    EXPECT_FALSE(file.MarkProcessed(2));
    EXPECT_FALSE(file.SeekToEntry(3));
    EXPECT_EQ(Read(), first);
    ASSERT_TRUE(file.MarkProcessed(1));
    EXPECT_EQ(Read(), kTaken + first.substr(14));
    ASSERT_TRUE(file.SeekToEntry(2)); // just past the end now
    EXPECT_FALSE(file.ReadEntry(entry));
}

// --- Line parser ------------------------------------------------------------------

TEST(AgentLogLine, ParsesNumbersLikeAPlainDecimalConversion) {
    struct Case {
        const char* text;
        int32_t value;
    };
    for (const Case& c : {Case{"12abc", 12}, Case{"abc", 0}, Case{"", 0}, Case{" 7", 7},
                          Case{"-3", -3}, Case{"+4", 4}, Case{"99999999999", INT32_MAX},
                          Case{"-99999999999", INT32_MIN}, Case{"2147483647", INT32_MAX}})
        EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
}

TEST(AgentLogLine, LeadingSeparatorShiftsTheDateToTheSecondField) {
    AgentLogEntry entry;
    ASSERT_TRUE(ParseAgentLogLine(";ALPHA;1;;x;1;1;0", 3, entry) == false); // eight fields
    ASSERT_TRUE(ParseAgentLogLine(";ALPHA;1;;x;1;1;0;d", 3, entry));
    EXPECT_EQ(entry.Date, "ALPHA");
    EXPECT_EQ(entry.Computer, "ALPHA");
    EXPECT_EQ(entry.EventID, 3);
}

} // namespace

// --- What an agent can plant ---------------------------------------------------------

// Bytes this process has read so far, from /proc/self/io.
unsigned long long BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    unsigned long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return 0;
}

TEST_F(LMLogFileTest, LinksAreNeverFollowedBelowTheTrustedDirectory) {
    const std::string outside = dir.Path("outside");
    Write(Line(kDate, "ALPHA") + "\n");
    std::filesystem::rename(path, outside);
    std::filesystem::create_directories(dir.Path("data"));
    // The log file itself a link: zeros would be written into the file it names.
    std::filesystem::create_symlink(outside, dir.Path("data/ALPHA.log"));
    LMLogFile file(recordWaits);
    EXPECT_FALSE(file.Open(dir.Path("data/ALPHA.log"), dir.Path("data/")));
    // The exchange directory a link to a directory outside.
    std::filesystem::create_directories(dir.Path("elsewhere"));
    std::filesystem::copy_file(outside, dir.Path("elsewhere/ALPHA.log"));
    std::filesystem::create_directory_symlink(dir.Path("elsewhere"), dir.Path("data/ALPHA"));
    EXPECT_FALSE(file.Open(dir.Path("data/ALPHA/ALPHA.log"), dir.Path("data/")));
    EXPECT_EQ(TempDir::Read(outside), Line(kDate, "ALPHA") + "\n");
    EXPECT_EQ(TempDir::Read(dir.Path("elsewhere/ALPHA.log")), Line(kDate, "ALPHA") + "\n");
}

// An 8 GiB line without an end costs one line limit of reading, not 8 GiB,
// at every check.
TEST_F(LMLogFileTest, EndlessLineEndsTheScanAtItsLimit) {
    Write(Line(kDate, "BETA") + "\n");
    {
        std::ofstream grow(path, std::ios::binary | std::ios::app);
        grow << "x";
    }
    std::filesystem::resize_file(path, std::uintmax_t{8} << 30);
    const unsigned long long before = BytesRead();
    EXPECT_FALSE(TakeNext("ALPHA"));
    EXPECT_LT(BytesRead() - before, 2ull * kAgentLogMaxLineLength);
}
