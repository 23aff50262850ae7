// Loads an id-based Qt translation catalogue (.qm, built with lrelease -idbased)
// over the built-in texts: every id the catalogue holds replaces its text.
#pragma once

#include "LanguageSelection.h"

class CQtCatalogueLoader : public ICatalogueLoader {
public:
    bool LoadCatalogue(const std::string& path) override;
};
