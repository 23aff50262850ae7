// Which translation catalogue and help file the console uses, chosen from the
// user's locale. Languages are identified by their Windows primary language
// numbers (German 0x07, English 0x09, French 0x0C, ...) because the catalogue
// and help file names carry them.
#pragma once

#include <functional>
#include <string>
#include <vector>

inline constexpr unsigned LANG_GERMAN_PRIMARY = 0x07;
inline constexpr unsigned LANG_ENGLISH_PRIMARY = 0x09;

// The primary language of a locale name such as "fr_FR.UTF-8"; "C", "POSIX",
// an empty name and unknown languages give English.
unsigned PrimaryLanguageOfLocale(const std::string& localeName);
// The user's language from LC_ALL, LC_MESSAGES or LANG, the first one set.
unsigned GetUserPrimaryLanguage();
// Two upper-case hexadecimal digits, e.g. "0C".
std::string LanguageDigits(unsigned primaryLanguage);

// The catalogues to try in order ("TARN_C_LNG_xx.qm" in the program directory):
// none for German, else the user's language and then English.
std::vector<std::string> CatalogueCandidates(const std::string& programDirectory,
                                             unsigned primaryLanguage);
// Loads a translation catalogue over the built-in texts; false when it cannot be loaded.
class ICatalogueLoader {
public:
    virtual ~ICatalogueLoader() = default;
    virtual bool LoadCatalogue(const std::string& path) = 0;
};

// Loads the first catalogue of CatalogueCandidates that loads; its path, or
// "" when the built-in German texts stay (German, or no catalogue found).
std::string LoadCatalogueOfLanguage(ICatalogueLoader& loader, const std::string& programDirectory,
                                    unsigned primaryLanguage);

// "TARN_C_HLP_xx.html" of the user's language, or the English name when that is missing.
std::string SelectHelpFile(const std::string& programDirectory, unsigned primaryLanguage,
                           const std::function<bool(const std::string&)>& fileExists);
