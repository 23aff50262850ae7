// Case folding of the shared text helpers.
#include "TextEncoding.h"

#include <gtest/gtest.h>

namespace {

struct CaseFoldCase {
    const char* left;
    const char* right;
    bool equal;
};

TEST(TextEncoding, EqualsNoCaseFoldsEveryLetter) {
    const CaseFoldCase cases[] = {
        {"EXPLORER.EXE", "explorer.exe", true},
        {"MÜLLER.EXE", "müller.exe", true},
        {"ÄÖÜ", "äöü", true},
        {"École", "éCOLE", true},
        {"ΣΟΦΊΑ", "σοφία", true},
        {"λόγος", "ΛΌΓΟΣ", true}, // the final sigma meets the capital
        {"", "", true},
        {"müller", "muller", false},
        {"müller", "müller.exe", false},
        {"straße", "STRASSE", false},   // no full folding: one letter stays one letter
        {"\xFF\xFE", "\xFF\xFE", true}, // invalid bytes compare as themselves
        {"\xC3", "\xC3\x84", false},
    };
    for (const CaseFoldCase& c : cases)
        EXPECT_EQ(EqualsNoCase(c.left, c.right), c.equal) << c.left << " / " << c.right;
}

} // namespace
