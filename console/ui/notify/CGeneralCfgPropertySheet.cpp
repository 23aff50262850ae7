#include "CGeneralCfgPropertySheet.h"

#include "CGeneralCfgPPGeneral.h"
#include "CServiceRules.h"
#include "MessageIds.h"
#include "SheetLayout.h"
#include "UiText.h"

#include <QTabWidget>
#include <QVBoxLayout>

CGeneralCfgPropertySheet::CGeneralCfgPropertySheet(CDBEngineTARN& database,
                                                   CGlobalSettings& settings, QWidget* parent)
    : QDialog(parent), m_database(database), m_settings(settings) {
    setWindowTitle(UiText(IDS_GENERAL_SHEET_CAPTION));
    m_pPage = new CGeneralCfgPPGeneral;
    auto* pages = new QTabWidget(this);
    pages->addTab(m_pPage, UiText(IDS_GENERAL_SHEET_CAPTION));
    LayOutSheet(*this, pages);

    // A failed read has been reported by the database thread: empty fields.
    DBConfiguration stored;
    m_database.GetConfiguration(stored);
    m_pPage->SetValues(stored);
}

void CGeneralCfgPropertySheet::accept() {
    if (!m_pPage->Leave())
        return;
    DBConfiguration settings = m_pPage->Values();
    settings.DATA_DIRECTORY = CServiceRules::WithTrailingSeparator(settings.DATA_DIRECTORY);
    m_settings.SetProtocolFile(settings.PROTOCOLFILE);
    m_settings.SetDataDirectory(settings.DATA_DIRECTORY);
    m_database.SetConfiguration(settings);
    QDialog::accept();
}
