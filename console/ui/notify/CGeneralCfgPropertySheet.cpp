#include "CGeneralCfgPropertySheet.h"

#include "CGeneralCfgPPGeneral.h"
#include "CServiceRules.h"
#include "UiText.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr unsigned IDS_SHEET_CAPTION = 3001; // "Allgemeine Einstellungen"
constexpr unsigned IDS_BUTTON_OK = 7516;
constexpr unsigned IDS_BUTTON_CANCEL = 7519;

} // namespace

CGeneralCfgPropertySheet::CGeneralCfgPropertySheet(CDBEngineTARN& database,
                                                   CGlobalSettings& settings, QWidget* parent)
    : QDialog(parent), m_database(database), m_settings(settings) {
    setWindowTitle(UiText(IDS_SHEET_CAPTION));
    m_pPage = new CGeneralCfgPPGeneral;
    auto* pages = new QTabWidget(this);
    pages->addTab(m_pPage, UiText(IDS_SHEET_CAPTION));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText(IDS_BUTTON_OK));
    buttons->button(QDialogButtonBox::Cancel)->setText(UiText(IDS_BUTTON_CANCEL));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(buttons);

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
