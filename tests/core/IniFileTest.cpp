#include "IniFile.h"
#include "TempDir.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ReadCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, FindsTheValueAgentsExpect) {
    const ReadCase& c = GetParam();
    TempDir dir;
    TempDir::Write(dir.Path("a.ini"), c.content);
    CIniFile ini = CIniFile::Load(dir.Path("a.ini"));
    EXPECT_TRUE(ini.Exists());
    EXPECT_EQ(ini.GetValue(c.section, c.key), c.expected);
    // The in-memory parser gives the same answer as reading the file.
    EXPECT_EQ(CIniFile::Parse(c.content).GetValue(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniReadTest,
    testing::Values(
        ReadCase{"Lf", "[Information]\nTARNStartDate=1998\n", "Information", "TARNStartDate",
                 "1998"},
        ReadCase{"CrLf", "[Information]\r\nTARNStartDate=1998\r\nLastTouch=x\r\n", "Information",
                 "TARNStartDate", "1998"},
        ReadCase{"LastLineWithoutEnd", "[S]\r\nK=v", "S", "K", "v"},
        ReadCase{"NamesIgnoreCase", "[Server]\nSERVER1=alpha\n", "sErVeR", "server1", "alpha"},
        ReadCase{"ValueKeepsCase", "[S]\nK=MixedCase\n", "S", "K", "MixedCase"},
        ReadCase{"BlanksTrimmed", "  [ S ]  \n \t Key \t=\t  a value  \t\n", "S", "Key", "a value"},
        ReadCase{"EmptyValue", "[S]\nK=\n", "S", "K", ""},
        ReadCase{"EqualsInValue", "[S]\nK=a=b\n", "S", "K", "a=b"},
        ReadCase{"FirstKeyWins", "[S]\nK=first\nK=second\n", "S", "K", "first"},
        ReadCase{"DuplicateSectionFirstWins", "[S]\nK=first\n[S]\nK=second\n", "S", "K", "first"},
        ReadCase{"DuplicateSectionOnlyFirstSearched", "[S]\nA=1\n[T]\n[s]\nK=late\n", "S", "K",
                 std::nullopt},
        ReadCase{"KeyWithoutEqualsIgnored", "[S]\nServer1\nServer1=alpha\n", "S", "Server1",
                 "alpha"},
        ReadCase{"KeyWithoutEqualsIsNoKey", "[S]\nServer1\n", "S", "Server1", std::nullopt},
        ReadCase{"CommentIsNoKey", "[S]\n;K=commented\n", "S", ";K", std::nullopt},
        ReadCase{"KeyBeforeAnySectionIgnored", "K=v\n[S]\n", "S", "K", std::nullopt},
        ReadCase{"KeyOfOtherSectionNotFound", "[A]\nK=a\n[B]\nX=b\n", "B", "K", std::nullopt},
        ReadCase{"ByteOrderMarkSkipped", "\xEF\xBB\xBF[S]\r\nK=v\r\n", "S", "K", "v"},
        ReadCase{"Utf8Umlauts", "[S]\nName=M\xC3\xBCller\n", "S", "Name", "M\xC3\xBCller"},
        ReadCase{"Windows1252Umlauts", "[S]\nName=M\xFCller \x80\n", "S", "Name",
                 "M\xC3\xBCller \xE2\x82\xAC"},
        ReadCase{"Windows1252SectionName",
                 "[Gr\xF6\xDF"
                 "e]\nK=v\n",
                 "Gr\xC3\xB6\xC3\x9F"
                 "e",
                 "K", "v"},
        ReadCase{"EncodingDecidedPerLine", "[S]\nA=\xC3\xA4\nB=\xE4\n", "S", "A", "\xC3\xA4"},
        ReadCase{"EncodingDecidedPerLineSecond", "[S]\nA=\xC3\xA4\nB=\xE4\n", "S", "B", "\xC3\xA4"},
        ReadCase{"MissingSection", "[S]\nK=v\n", "T", "K", std::nullopt}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(IniFile, MissingFileReadsAsEmpty) {
    TempDir dir;
    CIniFile ini = CIniFile::Load(dir.Path("missing.ini"));
    EXPECT_FALSE(ini.Exists());
    EXPECT_FALSE(ini.HasSection("S"));
    EXPECT_EQ(ini.GetString("S", "K", "fallback"), "fallback");
    EXPECT_EQ(ReadProfileString(dir.Path("missing.ini"), "S", "K"), "");
}

TEST(IniFile, HasSectionIgnoresCase) {
    CIniFile ini = CIniFile::Parse("[SOFTWARE\\velda\\TARN!]\n");
    EXPECT_TRUE(ini.HasSection("software\\VELDA\\tarn!"));
    EXPECT_FALSE(ini.HasSection("SOFTWARE\\velda"));
}

// --- Writing --------------------------------------------------------------

TEST(IniWrite, ReplacingAValueKeepsEveryOtherByte) {
    TempDir dir;
    const std::string path = dir.Path("a.ini");
    const std::string before = "\xEF\xBB\xBF; comment\r\n"
                               "[S]\r\n"
                               "Other=\xE4 1252\n"
                               "  Key = old value  \r\n"
                               "NoEquals\r\n"
                               "\r\n"
                               "[T]\r\n"
                               "Key=untouched";
    TempDir::Write(path, before);
    ASSERT_TRUE(WriteProfileString(path, "s", "KEY", "new"));
    std::string expected = before;
    expected.replace(expected.find("  Key = old value  "), 19, "  Key = new");
    EXPECT_EQ(TempDir::Read(path), expected);
    EXPECT_EQ(ReadProfileString(path, "S", "Key"), "new");
    EXPECT_EQ(ReadProfileString(path, "T", "Key"), "untouched");
}

TEST(IniWrite, RemovingAKeyTakesOnlyItsLine) {
    const std::string before = "[S]\r\nA=1\r\n b = 2\r\nC=3\r\n[T]\r\nB=kept\r\n";
    CIniFile ini = CIniFile::Parse(before);
    EXPECT_TRUE(ini.RemoveKey("s", "B"));
    EXPECT_EQ(ini.ToText(), "[S]\r\nA=1\r\nC=3\r\n[T]\r\nB=kept\r\n");
    EXPECT_FALSE(ini.RemoveKey("S", "B")) << "no second key of that name";
    EXPECT_FALSE(ini.RemoveKey("U", "A")) << "no such section";
}

TEST(IniWrite, NewKeyGoesAfterTheLastLineOfItsSection) {
    TempDir dir;
    const std::string path = dir.Path("a.ini");
    TempDir::Write(path, "[S]\nA=1\n\n[T]\nB=2\n");
    ASSERT_TRUE(WriteProfileString(path, "S", "C", "3"));
    EXPECT_EQ(TempDir::Read(path), "[S]\nA=1\nC=3\n\n[T]\nB=2\n");
}

TEST(IniWrite, NewSectionIsAppendedWithTheFilesLineEnd) {
    TempDir dir;
    const std::string path = dir.Path("a.ini");
    TempDir::Write(path, "[S]\nA=1"); // no line end at the end
    ASSERT_TRUE(WriteProfileString(path, "T", "B", "2"));
    EXPECT_EQ(TempDir::Read(path), "[S]\nA=1\n\n[T]\nB=2\n");
}

TEST(IniWrite, NewFileUsesCrLf) {
    TempDir dir;
    const std::string path = dir.Path("new.ini");
    ASSERT_TRUE(WriteProfileString(path, "Commands", "Command1", "START_APP x"));
    EXPECT_EQ(TempDir::Read(path), "[Commands]\r\nCommand1=START_APP x\r\n");
}

TEST(IniWrite, DuplicateSectionsWriteIntoTheFirst) {
    TempDir dir;
    const std::string path = dir.Path("a.ini");
    TempDir::Write(path, "[S]\nA=1\n[S]\nK=late\n");
    ASSERT_TRUE(WriteProfileString(path, "S", "K", "now"));
    EXPECT_EQ(TempDir::Read(path), "[S]\nA=1\nK=now\n[S]\nK=late\n");
    EXPECT_EQ(ReadProfileString(path, "S", "K"), "now");
}

TEST(IniWrite, Windows1252LineIsRewrittenInUtf8) {
    TempDir dir;
    const std::string path = dir.Path("a.ini");
    TempDir::Write(path, "[S]\nN\xE4me=M\xFCller\nZ=\xFC\n");
    ASSERT_TRUE(WriteProfileString(path, "S", "N\xC3\xA4me", "Wei\xC3\x9F"));
    EXPECT_EQ(TempDir::Read(path), "[S]\nN\xC3\xA4me=Wei\xC3\x9F\nZ=\xFC\n");
    EXPECT_EQ(ReadProfileString(path, "S", "Z"), "\xC3\xBC");
}

struct RefusedWrite {
    const char* name;
    std::string section, key, value;
};

class IniRefusedWriteTest : public testing::TestWithParam<RefusedWrite> {};

TEST_P(IniRefusedWriteTest, LeavesTheFileAlone) {
    const RefusedWrite& c = GetParam();
    TempDir dir;
    const std::string path = dir.Path("a.ini");
    const std::string before = "[S]\r\nK=v\r\n";
    TempDir::Write(path, before);
    EXPECT_FALSE(WriteProfileString(path, c.section, c.key, c.value));
    EXPECT_EQ(TempDir::Read(path), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRefusedWriteTest,
    testing::Values(RefusedWrite{"EmptySection", "", "K", "v"},
                    RefusedWrite{"BracketInSection", "a]b", "K", "v"},
                    RefusedWrite{"LineBreakInSection", "a\nb", "K", "v"},
                    RefusedWrite{"EmptyKey", "S", " ", "v"},
                    RefusedWrite{"EqualsInKey", "S", "a=b", "v"},
                    RefusedWrite{"KeyLikeSection", "S", "[T]", "v"},
                    RefusedWrite{"KeyLikeComment", "S", ";K", "v"},
                    RefusedWrite{"LineBreakInValue", "S", "K", "a\r\nb"},
                    RefusedWrite{"NulInValue", "S", "K", std::string("a\0b", 3)}),
    [](const testing::TestParamInfo<RefusedWrite>& info) { return std::string(info.param.name); });

TEST(IniWrite, KeepsPermissionsAndFollowsSymbolicLinks) {
    TempDir dir;
    const std::string target = dir.Path("real.ini");
    const std::string link = dir.Path("link.ini");
    TempDir::Write(target, "[S]\nK=v\n");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteProfileString(link, "S", "K", "w"));
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(TempDir::Read(target), "[S]\nK=w\n");
    // No temporary file is left behind.
    size_t entries = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir.Path("")))
        ++entries;
    EXPECT_EQ(entries, 2u);
}

TEST(IniWrite, UnreadableFileIsNeverReplaced) {
    TempDir dir;
    const std::string path = dir.Path("adir.ini");
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0); // exists, but cannot be read as a file
    EXPECT_FALSE(WriteProfileString(path, "S", "K", "v"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

TEST(IniWrite, MissingDirectoryFails) {
    TempDir dir;
    EXPECT_FALSE(WriteProfileString(dir.Path("no/such/dir.ini"), "S", "K", "v"));
}

// --- Numbered lists and single values ------------------------------------------

TEST(ReadIniList, ReadsNumberedKeysUntilTheFirstGap) {
    TempDir dir;
    const std::string path = dir.Path("TARN.CFG");
    TempDir::Write(path, "[Server]\r\nServer1=alpha\r\nServer2=beta\r\nServer4=delta\r\n"
                         "[alpha]\r\nService1=Spooler;x;y\r\nService2=\r\nService3=late\r\n"
                         "[beta]\r\nApp2=second\r\n");
    std::vector<std::string> list{"junk"};
    EXPECT_TRUE(ReadIniList(path, "Server", "Server", list));
    EXPECT_EQ(list, (std::vector<std::string>{"alpha", "beta"}));
    EXPECT_TRUE(ReadIniList(path, "alpha", "Service", list)); // empty Service2 ends it
    EXPECT_EQ(list, (std::vector<std::string>{"Spooler;x;y"}));
    EXPECT_TRUE(ReadIniList(path, "beta", "App", list)); // App1 missing: empty list
    EXPECT_TRUE(list.empty());
}

TEST(ReadIniList, MissingFileGivesFalseAndAnEmptyList) {
    TempDir dir;
    std::vector<std::string> list{"junk"};
    EXPECT_FALSE(ReadIniList(dir.Path("TARN.CFG"), "Server", "Server", list));
    EXPECT_TRUE(list.empty());
}

TEST(ReadIniValue, FalseWhenMissingOrEmpty) {
    TempDir dir;
    const std::string path = dir.Path("ALPHA.INI");
    TempDir::Write(path, "[Information]\nTARNStartDate=19980301235959\nLastTouch=\n");
    std::string value = "junk";
    EXPECT_TRUE(ReadIniValue(path, "Information", "TARNStartDate", value));
    EXPECT_EQ(value, "19980301235959");
    EXPECT_FALSE(ReadIniValue(path, "Information", "LastTouch", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(ReadIniValue(path, "Information", "ComputerStartDate", value));
    EXPECT_FALSE(ReadIniValue(dir.Path("missing.INI"), "Information", "TARNStartDate", value));
    EXPECT_EQ(value, "");
}

// --- Text helpers --------------------------------------------------------------

TEST(TextEncoding, RejectsMalformedUtf8) {
    EXPECT_TRUE(IsValidUtf8("plain \xC3\xA4 \xE2\x82\xAC \xF0\x9F\x98\x80"));
    for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3",
                            "\xE2\x82", "\x80", "\xFF"})
        EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(std::string(bad));
}

TEST(TextEncoding, ConvertsEveryWindows1252Byte) {
    EXPECT_EQ(Windows1252ToUtf8("\x80\x8A\x9F\xA0\xFF"),
              "\xE2\x82\xAC\xC5\xA0\xC5\xB8\xC2\xA0\xC3\xBF");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81"); // undefined byte: the C1 control
    EXPECT_EQ(DecodeExternalText("\xC3\xA4"), "\xC3\xA4");
    EXPECT_EQ(DecodeExternalText("\xE4"), "\xC3\xA4");
}

} // namespace
