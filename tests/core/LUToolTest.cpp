// Trace log and assertion reports.
#include "LUTool.h"

#include "TraceCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

long FileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : -1;
}

void WriteBytes(const std::string& path, size_t count) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << std::string(count > 0 ? count - 1 : 0, 'x');
    if (count > 0)
        out << '\n';
}

std::string BracketedNow() {
    char buffer[128];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(buffer, sizeof buffer, "[%c]", &local);
    return buffer;
}

// A trace object of its own, writing to a fresh temporary folder.
class TraceFileTest : public ::testing::Test {
protected:
    TraceFileTest() {
        char pattern[] = "/tmp/tarn-lutool-XXXXXX";
        m_dir = ::mkdtemp(pattern);
        m_file = m_dir + "/TRC_TARN.LOG";
        tool.SetFileName(m_file);
    }
    ~TraceFileTest() override {
        std::string command = "chmod -R u+w '" + m_dir + "' 2>/dev/null; rm -rf '" + m_dir + "'";
        [[maybe_unused]] int rc = std::system(command.c_str());
    }
    std::string Text() const { return ReadFile(m_file); }
    std::vector<std::string> Lines() const { return SplitLines(Text()); }

    CLUTool tool;
    std::string m_dir, m_file;
};

class RecordingSink : public ITraceMessageSink {
public:
    explicit RecordingSink(bool abortChosen = false) : m_abort(abortChosen) {}
    void ShowTraceMessage(const std::string& caption, const std::string& text) override {
        traces.emplace_back(caption, text);
    }
    bool ShowAssertMessage(const std::string& caption, const std::string& text) override {
        asserts.emplace_back(caption, text);
        return m_abort;
    }
    std::vector<std::pair<std::string, std::string>> traces, asserts;

private:
    bool m_abort;
};

TEST(LUToolDefaults, FieldsStartWithTheirInitialValues) {
    CLUTool tool;
    EXPECT_EQ(tool.GetTitle(), "velda DebugTrace");
    EXPECT_EQ(tool.GetLevel(), 5u);
    EXPECT_EQ(tool.GetAbortSeverity(), 0u);
    EXPECT_EQ(tool.GetFileName(), "velda.LOG");
    EXPECT_EQ(tool.GetMaxFileSize(), 100000);
    EXPECT_EQ(tool.GetOutputs(), static_cast<uint32_t>(CLUTool::OutputFile)); // 2: file only
    EXPECT_EQ(CLUTool::OutputMessageBox, 1u);
    EXPECT_EQ(CLUTool::OutputFile, 2u);
}

TEST(LUToolDefaults, ProcessWideObjectIsOneAndHeadless) {
    EXPECT_EQ(&LUTool(), &LUTool());
    EXPECT_EQ(LUTool().GetOutputs() & CLUTool::OutputMessageBox, 0u);
}

TEST_F(TraceFileTest, SettersReplaceTheFields) {
    tool.SetLevel(0);
    tool.SetTitle("T");
    tool.SetFileName("x.log");
    EXPECT_EQ(tool.GetLevel(), 0u);
    EXPECT_EQ(tool.GetTitle(), "T");
    EXPECT_EQ(tool.GetFileName(), "x.log");
}

TEST_F(TraceFileTest, LineIsBracketedLocalTimeBlankTextLineFeed) {
    const std::string before = BracketedNow();
    tool.WriteLine("Hallo Welt");
    const std::string after = BracketedNow();
    const std::string text = Text();
    EXPECT_TRUE(text == before + " Hallo Welt\n" || text == after + " Hallo Welt\n") << text;
}

TEST_F(TraceFileTest, FileIsCreatedAndAppendedNeverTruncatedOnOpen) {
    EXPECT_EQ(FileSize(m_file), -1);
    tool.WriteLine("eins");
    tool.WriteLine("zwei");
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("] eins"), std::string::npos);
    EXPECT_NE(lines[1].find("] zwei"), std::string::npos);
    // Deleted between two lines: the next line creates it again.
    std::remove(m_file.c_str());
    tool.WriteLine("drei");
    lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("] drei"), std::string::npos);
}

// A file longer than 100000 bytes is emptied first.
TEST_F(TraceFileTest, FileGreaterThanMaxFileSizeIsEmptied) {
    WriteBytes(m_file, 100001);
    tool.WriteLine("neu");
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("] neu"), std::string::npos);
    EXPECT_LT(FileSize(m_file), 200);
}

// A file of exactly 100000 bytes is not emptied.
TEST_F(TraceFileTest, FileOfExactlyMaxFileSizeIsKept) {
    WriteBytes(m_file, 100000);
    tool.WriteLine("neu");
    const std::string text = Text();
    ASSERT_GT(text.size(), 100000u);
    EXPECT_EQ(text.substr(0, 99999), std::string(99999, 'x'));
    EXPECT_EQ(text[99999], '\n');
    EXPECT_EQ(text.substr(text.size() - 5), " neu\n");
    // Now it is longer than the limit: the next line empties it.
    tool.WriteLine("danach");
    EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(TraceFileTest, MaxFileSizeIsAField) {
    tool.SetMaxFileSize(10);
    tool.WriteLine("a"); // 0 bytes before: kept
    tool.WriteLine("b"); // more than 10 bytes before: emptied
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("] b"), std::string::npos);
}

// Level gating.
TEST_F(TraceFileTest, TraceLevelGating) {
    tool.SetLevel(0);
    tool.Trace(5, "Loaded Plugin Library");
    EXPECT_EQ(FileSize(m_file), -1); // nothing written, not even opened
    tool.Trace(0, "level %d", 0);
    EXPECT_EQ(Lines().size(), 1u);

    tool.SetLevel(5);
    tool.Trace(5, "Getting Plugin Information");
    tool.Trace(6, "too detailed");
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find("] Getting Plugin Information"), std::string::npos);

    tool.SetLevel(9);
    tool.Trace(5, "again");
    EXPECT_EQ(Lines().size(), 3u);
}

TEST_F(TraceFileTest, TraceFormatsWithPrintfRulesIntoAThousandTwentyFourCharacterBuffer) {
    tool.Trace(1, "%s=%d %05.1f %x", "wert", 42, 3.14159, 255u);
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("] wert=42 003.1 ff"), std::string::npos);

    const std::string longText(3000, 'L');
    tool.Trace(1, "%s", longText.c_str());
    lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    const size_t start = lines[1].find("] ") + 2;
    EXPECT_EQ(lines[1].substr(start), std::string(1023, 'L'));
}

// The seven-line assertion entry.
TEST_F(TraceFileTest, FailedAssertionWritesSevenLines) {
    tool.SetLevel(0); // reports never depend on Level
    const std::string before = BracketedNow();
    tool.Assert(false, "IndexValid(nIndex)", "Index ungültig", "Console/AuditionList.cpp", 123, 0);
    const std::string after = BracketedNow();
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 7u) << Text();
    EXPECT_TRUE(lines[0] == before + " Assert fehlgeschlagen!" ||
                lines[0] == after + " Assert fehlgeschlagen!")
        << lines[0];
    EXPECT_EQ(lines[1], "Bedingung: IndexValid(nIndex) ");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "Beschreibung: Index ungültig");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "Datei: Console/AuditionList.cpp");
    EXPECT_EQ(lines[6], "Zeile: 123");
    EXPECT_EQ(Text().back(), '\n');
}

TEST_F(TraceFileTest, TrueConditionWritesNothing) {
    tool.Assert(true, "bFileOpen", "Datei nicht geöffnet", "x.cpp", 1, 0);
    EXPECT_EQ(FileSize(m_file), -1);
}

TEST_F(TraceFileTest, ReportIsLimitedToATousandTwentyFourCharacters) {
    const std::string longDescription(2000, 'D');
    tool.Assert(false, "FALSE", longDescription.c_str(), "x.cpp", 1, 0);
    const std::string text = Text();
    const size_t start = text.find("Bedingung:");
    ASSERT_NE(start, std::string::npos);
    EXPECT_EQ(text.size() - start, 1023u + 1u); // report of 1023 characters + line feed
}

// A trace file that cannot be opened loses the line
// silently. (Tests run as root, for whom file modes do not block writing, so
// the unopenable file is a directory and a path in a missing folder.)
TEST_F(TraceFileTest, UnopenableFileLosesTheLineSilently) {
    const std::string directory = m_dir + "/ist-ein-ordner";
    ASSERT_EQ(::mkdir(directory.c_str(), 0755), 0);
    for (const std::string& name : {directory, m_dir + "/fehlt/TRC_TARN.LOG"}) {
        tool.SetFileName(name);
        tool.WriteLine("verloren");
        tool.Trace(0, "verloren");
        tool.Assert(false, "FALSE", "verloren", "x.cpp", 1, 0); // does not stop the program
    }
    EXPECT_EQ(FileSize(m_dir + "/fehlt"), -1);
    // Back to a good file: the next line arrives.
    tool.SetFileName(m_file);
    tool.WriteLine("wieder da");
    EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(TraceFileTest, ReadOnlyFileForAnOrdinaryUserLosesTheLine) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write read-only files; covered by the directory case";
    tool.WriteLine("vorher");
    ASSERT_EQ(::chmod(m_file.c_str(), 0444), 0);
    tool.WriteLine("verloren");
    EXPECT_EQ(Lines().size(), 1u);
}

// Bit 0 of Outputs goes to the message sink.
TEST_F(TraceFileTest, MessageBoxOutputGoesToTheSink) {
    RecordingSink sink;
    tool.SetMessageSink(&sink);
    tool.SetTitle("Titel");
    tool.SetOutputs(CLUTool::OutputMessageBox);
    tool.Trace(1, "Meldung %d", 7);
    ASSERT_EQ(sink.traces.size(), 1u);
    EXPECT_EQ(sink.traces[0].first, "Titel");
    EXPECT_EQ(sink.traces[0].second, "Meldung 7");
    EXPECT_EQ(FileSize(m_file), -1); // bit 1 not set: no file

    tool.Assert(false, "pDBEngine != NULL", "Datenbankobjekt ungültig", "Sheet.cpp", 9, 0);
    ASSERT_EQ(sink.asserts.size(), 1u); // Ignore chosen: the program goes on
    EXPECT_EQ(sink.asserts[0].first, "Assert fehlgeschlagen!");
    EXPECT_EQ(sink.asserts[0].second, "Bedingung: pDBEngine != NULL \n\nBeschreibung: "
                                      "Datenbankobjekt ungültig\n\nDatei: Sheet.cpp\nZeile: 9");

    tool.SetOutputs(CLUTool::OutputMessageBox | CLUTool::OutputFile);
    tool.Trace(1, "beides");
    EXPECT_EQ(sink.traces.size(), 2u);
    EXPECT_EQ(Lines().size(), 1u);

    tool.SetLevel(0);
    tool.Trace(1, "zu hoch");
    EXPECT_EQ(sink.traces.size(), 2u);
}

using TraceDeathTest = TraceFileTest;

TEST_F(TraceDeathTest, AbortChosenInTheMessageBoxEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    RecordingSink sink(/*abortChosen=*/true);
    tool.SetMessageSink(&sink);
    tool.SetOutputs(CLUTool::OutputMessageBox | CLUTool::OutputFile);
    EXPECT_DEATH(tool.Assert(false, "FALSE", "Abbruch", "x.cpp", 1, 0), "");
}

TEST_F(TraceDeathTest, NoOutputLeavesTheStopMarkSet) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    tool.SetOutputs(0);
    EXPECT_DEATH(tool.Assert(false, "FALSE", "Abbruch", "x.cpp", 1, 0), "");
}

TEST_F(TraceFileTest, SeverityBelowAbortSeverityNeverStops) {
    tool.SetOutputs(0);
    tool.SetAbortSeverity(1);
    tool.Assert(false, "FALSE", "weiter", "x.cpp", 1, 0); // still here
    RecordingSink sink(/*abortChosen=*/false);
    tool.SetMessageSink(&sink);
    tool.SetOutputs(CLUTool::OutputMessageBox);
    tool.SetAbortSeverity(0);
    tool.Assert(false, "FALSE", "weiter", "x.cpp", 1, 0); // Ignore clears the stop
    EXPECT_EQ(sink.asserts.size(), 1u);
}

// Lines of several threads never interleave within a line.
TEST_F(TraceFileTest, LinesOfSeveralThreadsNeverInterleave) {
    tool.SetMaxFileSize(0x7fffffff);
    constexpr int kThreads = 8;
    constexpr int kLines = 150;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            const std::string body(400, static_cast<char>('a' + t));
            for (int i = 0; i < kLines; ++i) {
                if (i % 3 == 0)
                    tool.Trace(1, "T%d L%03d %s", t, i, body.c_str());
                else if (i % 3 == 1)
                    tool.WriteLine("T" + std::to_string(t) + " L" +
                                   (i < 10    ? "00"
                                    : i < 100 ? "0"
                                              : "") +
                                   std::to_string(i) + " " + body);
                else
                    tool.Assert(false, "FALSE", ("T" + std::to_string(t)).c_str(), body.c_str(),
                                static_cast<unsigned>(i), 0);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    const std::regex plain(R"(^\[[^\]]+\] T([0-7]) L(\d{3}) ([a-h])+$)");
    const auto lines = Lines();
    size_t plainLines = 0, asserts = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::smatch match;
        if (std::regex_match(lines[i], match, plain)) {
            const char expected = static_cast<char>('a' + (match[1].str()[0] - '0'));
            const std::string body = lines[i].substr(lines[i].rfind(' ') + 1);
            EXPECT_EQ(body, std::string(400, expected)) << "line " << i;
            ++plainLines;
            continue;
        }
        // Otherwise the first line of a seven-line assertion entry.
        ASSERT_NE(lines[i].find("] Assert fehlgeschlagen!"), std::string::npos)
            << "line " << i << ": " << lines[i].substr(0, 80);
        ASSERT_LT(i + 6, lines.size());
        EXPECT_EQ(lines[i + 1], "Bedingung: FALSE ");
        EXPECT_EQ(lines[i + 2], "");
        EXPECT_EQ(lines[i + 3].substr(0, 15), "Beschreibung: T");
        EXPECT_EQ(lines[i + 4], "");
        const char expected = static_cast<char>('a' + (lines[i + 3][15] - '0'));
        EXPECT_EQ(lines[i + 5], "Datei: " + std::string(400, expected));
        EXPECT_EQ(lines[i + 6].substr(0, 7), "Zeile: ");
        ++asserts;
        i += 6;
    }
    EXPECT_EQ(plainLines, static_cast<size_t>(kThreads * 100));
    EXPECT_EQ(asserts, static_cast<size_t>(kThreads * 50));
}

// The macros record the expression text, the file and the line.
TEST(LUToolMacros, AssertMacroRecordsExpressionFileAndLine) {
    TraceCapture trace;
    const int nIndex = -1;
    const unsigned line = __LINE__ + 1;
    TARN_ASSERT(nIndex >= 0 && nIndex < 10, "Index ungültig");
    TARN_ASSERT(nIndex == -1, "nie");
    TARN_ASSERT_FAIL("Unbekannter Überwachungstyp");
    const auto lines = trace.Lines();
    ASSERT_EQ(lines.size(), 14u) << trace.Text();
    EXPECT_EQ(lines[1], "Bedingung: nIndex >= 0 && nIndex < 10 ");
    EXPECT_EQ(lines[3], "Beschreibung: Index ungültig");
    EXPECT_EQ(lines[5], std::string("Datei: ") + __FILE__);
    EXPECT_EQ(lines[6], "Zeile: " + std::to_string(line));
    EXPECT_EQ(lines[8], "Bedingung: FALSE ");
    EXPECT_EQ(lines[10], "Beschreibung: Unbekannter Überwachungstyp");
    EXPECT_EQ(lines[13], "Zeile: " + std::to_string(line + 2));
}

} // namespace

// Another account may plant the trace file's name as a link; the line is lost,
// the file it names stays as it was.
TEST_F(TraceFileTest, LinkUnderTheNameIsNeverWrittenThrough) {
    const std::string target = m_file + ".target";
    { std::ofstream(target) << "keep\n"; }
    std::filesystem::create_symlink(target, m_file);
    tool.WriteLine("through the link");
    EXPECT_EQ(ReadFile(target), "keep\n");
}
