#include "FieldText.h"

#include <gtest/gtest.h>

namespace {

TEST(FieldText, CountFields) {
    EXPECT_EQ(CountFields("", ';'), 0u);
    EXPECT_EQ(CountFields("a", ';'), 1u);
    EXPECT_EQ(CountFields("a;b;c", ';'), 3u);
    EXPECT_EQ(CountFields(";", ';'), 2u);
    EXPECT_EQ(CountFields("a;b;", ';'), 3u);
    EXPECT_EQ(CountFields("a,b;c", ','), 2u);
}

TEST(FieldText, CountFieldsOfLongTextsMatchesACountByHand) {
    // Long enough for the per-byte counters to be emptied several times.
    for (size_t length : {15u, 16u, 17u, 100u, 4080u, 4096u, 9000u}) {
        std::string text;
        size_t separators = 0;
        for (size_t i = 0; i < length; ++i) {
            bool separator = (i * 7919) % 5 == 0;
            text.push_back(separator ? ';' : static_cast<char>('a' + i % 26));
            separators += separator;
        }
        EXPECT_EQ(CountFields(text, ';'), separators + 1) << length;
        EXPECT_EQ(CountFields(std::string(length, ';'), ';'), length + 1) << length;
    }
}

struct FieldCase {
    const char* text;
    size_t n;
    const char* expected;
};

class GetFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(GetFieldTest, ReturnsTheNthField) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(GetField(c.text, c.n, ';'), c.expected) << c.text << " field " << c.n;
}

INSTANTIATE_TEST_SUITE_P(Cases, GetFieldTest,
                         testing::Values(FieldCase{"a;b;c", 1, "a"}, FieldCase{"a;b;c", 2, "b"},
                                         FieldCase{"a;b;c", 3, "c"}, FieldCase{"a;b;c", 4, ""},
                                         FieldCase{"a;b;c", 0, ""}, FieldCase{"a;;c", 2, ""},
                                         FieldCase{"a;b;", 3, ""}, FieldCase{"", 1, ""},
                                         // A leading separator is passed over for field 1 only.
                                         FieldCase{";a;b", 1, "a"}, FieldCase{";a;b", 2, "a"},
                                         FieldCase{";a;b", 3, "b"}, FieldCase{";", 1, ""}));

TEST(FieldText, IsInListIgnoresCase) {
    EXPECT_TRUE(IsInList("Spooler;EventLog;W32Time", ';', "eventlog"));
    EXPECT_TRUE(IsInList("Spooler;EventLog;W32Time", ';', "W32TIME"));
    EXPECT_TRUE(IsInList("7036", ';', "7036"));
    EXPECT_FALSE(IsInList("Spooler;EventLog", ';', "Event"));
    EXPECT_FALSE(IsInList("", ';', "x"));
    EXPECT_FALSE(IsInList("Spooler;EventLog", ',', "EventLog"));
}

} // namespace
