#include "LanguageSelection.h"

#include <gtest/gtest.h>
#include <set>

namespace {

TEST(LanguageSelection, LocaleNamesMapToPrimaryLanguages) {
    struct Case {
        const char* locale;
        unsigned language;
    } cases[] = {{"de_DE.UTF-8", 0x07}, {"en_US.UTF-8", 0x09}, {"fr_FR", 0x0C},
                 {"it_IT@euro", 0x10},  {"es", 0x0A},          {"nl_NL.UTF-8", 0x13},
                 {"C", 0x09},           {"POSIX", 0x09},       {"C.UTF-8", 0x09},
                 {"", 0x09},            {"xx_YY", 0x09},       {"DE_de", 0x07}};
    for (const Case& c : cases)
        EXPECT_EQ(PrimaryLanguageOfLocale(c.locale), c.language) << c.locale;
}

TEST(LanguageSelection, EnvironmentOrderIsLcAllThenLcMessagesThenLang) {
    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "fr_FR.UTF-8", 1);
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(GetUserPrimaryLanguage(), 0x0Cu);
    setenv("LC_ALL", "it_IT", 1);
    EXPECT_EQ(GetUserPrimaryLanguage(), 0x10u);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    unsetenv("LANG");
    EXPECT_EQ(GetUserPrimaryLanguage(), 0x09u);
}

TEST(LanguageSelection, CataloguesToTry) {
    EXPECT_TRUE(CatalogueCandidates("/p/", 0x07).empty());
    EXPECT_EQ(CatalogueCandidates("/p/", 0x09), std::vector<std::string>{"/p/TARN_C_LNG_09.qm"});
    EXPECT_EQ(CatalogueCandidates("/p/", 0x0C),
              (std::vector<std::string>{"/p/TARN_C_LNG_0C.qm", "/p/TARN_C_LNG_09.qm"}));
}

TEST(LanguageSelection, HelpFileFallsBackToEnglishName) {
    std::set<std::string> present;
    auto exists = [&](const std::string& path) { return present.count(path) > 0; };
    EXPECT_EQ(SelectHelpFile("/p/", 0x0C, exists), "/p/TARN_C_HLP_09.html");
    present.insert("/p/TARN_C_HLP_0C.html");
    EXPECT_EQ(SelectHelpFile("/p/", 0x0C, exists), "/p/TARN_C_HLP_0C.html");
    EXPECT_EQ(SelectHelpFile("/p/", 0x07, exists), "/p/TARN_C_HLP_09.html");
    present.insert("/p/TARN_C_HLP_07.html");
    EXPECT_EQ(SelectHelpFile("/p/", 0x07, exists), "/p/TARN_C_HLP_07.html");
}

} // namespace
