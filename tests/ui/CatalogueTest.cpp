#include "QtCatalogueLoader.h"
#include "StringTable.h"

#include <QTranslator>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const std::string kEnglishCatalogue = std::string(TARN_BIN_DIR) + "/TARN_C_LNG_09.qm";

class Catalogue : public testing::Test {
protected:
    void TearDown() override { ResetTarnStrings(); }
};

TEST_F(Catalogue, EnglishCatalogueCoversEveryStringId) {
    QTranslator translator;
    ASSERT_TRUE(translator.load(QString::fromStdString(kEnglishCatalogue))) << kEnglishCatalogue;
    for (const auto& [id, text] : GetAllTarnStrings()) {
        QString translated = translator.translate(nullptr, std::to_string(id).c_str());
        EXPECT_FALSE(translated.isEmpty()) << "no English text for id " << id;
    }
}

TEST_F(Catalogue, LoadingReplacesTextsKeepingLineBreaksAndDirectives) {
    CQtCatalogueLoader loader;
    ASSERT_TRUE(loader.LoadCatalogue(kEnglishCatalogue));
    EXPECT_EQ(LoadTarnString(1100), "TARN! Error occurred");
    EXPECT_EQ(LoadTarnString(1130), "unknown");
    EXPECT_EQ(LoadTarnString(2017), "1;2;4;Event view");
    EXPECT_EQ(LoadTarnString(1029),
              "The conversion failed!\n\nCurrent version:\t%d\nRequired version:\t%d");
    EXPECT_EQ(LoadTarnString(1031).back(), ' ');
}

TEST_F(Catalogue, HelpPagesLieBesideTheCatalogue) {
    for (const char* page : {"TARN_C_HLP_07.html", "TARN_C_HLP_09.html"})
        EXPECT_TRUE(std::filesystem::is_regular_file(std::string(TARN_BIN_DIR) + "/" + page))
            << page;
}

} // namespace
