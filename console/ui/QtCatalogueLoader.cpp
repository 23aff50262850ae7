#include "QtCatalogueLoader.h"

#include "StringTable.h"

#include <QString>
#include <QTranslator>

bool CQtCatalogueLoader::LoadCatalogue(const std::string& path) {
    QTranslator translator;
    if (!translator.load(QString::fromStdString(path)))
        return false;
    // An id-based catalogue answers a lookup by the id's text with an empty context.
    for (const auto& [id, text] : GetAllTarnStrings()) {
        QString translated = translator.translate(nullptr, std::to_string(id).c_str());
        if (!translated.isEmpty())
            SetTarnString(id, translated.toStdString());
    }
    return true;
}
