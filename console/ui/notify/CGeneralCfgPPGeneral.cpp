#include "CGeneralCfgPPGeneral.h"

#include "CMessageBox.h"
#include "CServiceRules.h"
#include "ChannelCaptions.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CGeneralCfgPPGeneral::CGeneralCfgPPGeneral(QWidget* parent)
    : QWidget(parent), m_fields(CServiceRules::SettingsFields()) {
    auto* grid = new QGridLayout(this);
    QPushButton* browseFile = nullptr;
    QPushButton* browseDirectory = nullptr;
    m_pProtocolFile = AddRow(grid, 0, IDS_PROTOCOL_FILE, "PROTOCOLFILE", browseFile);
    m_pDataDirectory = AddRow(grid, 1, IDS_DATA_DIRECTORY, "DATA_DIRECTORY", browseDirectory);
    grid->setRowStretch(2, 1);
    connect(browseFile, &QPushButton::clicked, this, &CGeneralCfgPPGeneral::BrowseProtocolFile);
    connect(browseDirectory, &QPushButton::clicked, this,
            &CGeneralCfgPPGeneral::BrowseDataDirectory);
}

QLineEdit* CGeneralCfgPPGeneral::AddRow(QGridLayout* grid, int row, unsigned label,
                                        const char* column, QPushButton*& browse) {
    auto* edit = static_cast<QLineEdit*>(m_fields.Add(column));
    browse = new QPushButton(UiText(IDS_BROWSE));
    grid->addWidget(new QLabel(UiText(label)), row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(browse, row, 2);
    return edit;
}

void CGeneralCfgPPGeneral::SetValues(const DBConfiguration& settings) {
    m_fields.Load(settings);
}

DBConfiguration CGeneralCfgPPGeneral::Values() const {
    DBConfiguration settings;
    m_fields.Store(settings);
    return settings;
}

bool CGeneralCfgPPGeneral::Leave() {
    const FieldRefusal refusal = m_fields.RefusalOf(CServiceRules::CheckSettings(Values()));
    if (!refusal.Refused())
        return true;
    CFieldWidgets::Select(refusal.widget);
    CMessageBox::Error(this, refusal.message);
    return false;
}

// The dialog starts with the field's file; the chosen full path replaces it.
void CGeneralCfgPPGeneral::BrowseProtocolFile() {
    const QString path =
        QFileDialog::getOpenFileName(this, UiText(IDS_FILE_SELECTION), m_pProtocolFile->text(),
                                     FileDialogFilter(IDS_ALL_FILES_FILTER));
    if (!path.isEmpty())
        m_pProtocolFile->setText(path);
}

void CGeneralCfgPPGeneral::BrowseDataDirectory() {
    const QString path = QFileDialog::getExistingDirectory(this, UiText(IDS_FILE_SELECTION),
                                                           m_pDataDirectory->text());
    if (!path.isEmpty())
        m_pDataDirectory->setText(path);
}
