#include "LanguageSelection.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

const std::map<std::string, unsigned>& PrimaryLanguages() {
    static const std::map<std::string, unsigned> languages = {
        {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
        {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C},
        {"he", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12},
        {"nl", 0x13}, {"nb", 0x14}, {"nn", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16},
        {"rm", 0x17}, {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A}, {"sr", 0x1A}, {"sk", 0x1B},
        {"sq", 0x1C}, {"sv", 0x1D}, {"th", 0x1E}, {"tr", 0x1F}, {"ur", 0x20}, {"id", 0x21},
        {"uk", 0x22}, {"be", 0x23}, {"sl", 0x24}, {"et", 0x25}, {"lv", 0x26}, {"lt", 0x27},
    };
    return languages;
}

} // namespace

unsigned PrimaryLanguageOfLocale(const std::string& localeName) {
    std::string code = localeName.substr(0, localeName.find_first_of("_.@"));
    for (char& c : code)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto found = PrimaryLanguages().find(code);
    return found == PrimaryLanguages().end() ? LANG_ENGLISH_PRIMARY : found->second;
}

unsigned GetUserPrimaryLanguage() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return PrimaryLanguageOfLocale(value);
    }
    return LANG_ENGLISH_PRIMARY;
}

std::string LanguageDigits(unsigned primaryLanguage) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02X", primaryLanguage & 0xFFu);
    return digits;
}

std::vector<std::string> CatalogueCandidates(const std::string& programDirectory,
                                             unsigned primaryLanguage) {
    if (primaryLanguage == LANG_GERMAN_PRIMARY)
        return {};
    auto name = [&](unsigned language) {
        return programDirectory + "TARN_C_LNG_" + LanguageDigits(language) + ".qm";
    };
    if (primaryLanguage == LANG_ENGLISH_PRIMARY)
        return {name(LANG_ENGLISH_PRIMARY)};
    return {name(primaryLanguage), name(LANG_ENGLISH_PRIMARY)};
}

std::string LoadCatalogueOfLanguage(ICatalogueLoader& loader, const std::string& programDirectory,
                                    unsigned primaryLanguage) {
    for (const std::string& catalogue : CatalogueCandidates(programDirectory, primaryLanguage)) {
        if (loader.LoadCatalogue(catalogue))
            return catalogue;
    }
    return {};
}

std::string SelectHelpFile(const std::string& programDirectory, unsigned primaryLanguage,
                           const std::function<bool(const std::string&)>& fileExists) {
    auto name = [&](unsigned language) {
        return programDirectory + "TARN_C_HLP_" + LanguageDigits(language) + ".html";
    };
    std::string own = name(primaryLanguage);
    return fileExists(own) ? own : name(LANG_ENGLISH_PRIMARY);
}
