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

namespace {

QLineEdit* AddRow(QGridLayout* grid, int row, unsigned label, const char* column,
                  QPushButton*& browse) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromUtf8(column));
    edit->setMaxLength(FindField(CServiceRules::SettingsFields(), column)->spec.maximum);
    browse = new QPushButton(UiText(IDS_BROWSE));
    grid->addWidget(new QLabel(UiText(label)), row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(browse, row, 2);
    return edit;
}

} // namespace

CGeneralCfgPPGeneral::CGeneralCfgPPGeneral(QWidget* parent) : QWidget(parent) {
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

void CGeneralCfgPPGeneral::SetValues(const DBConfiguration& settings) {
    m_pProtocolFile->setText(ToQString(settings.PROTOCOLFILE));
    m_pDataDirectory->setText(ToQString(settings.DATA_DIRECTORY));
}

DBConfiguration CGeneralCfgPPGeneral::Values() const {
    DBConfiguration settings;
    settings.PROTOCOLFILE = m_pProtocolFile->text().toStdString();
    settings.DATA_DIRECTORY = m_pDataDirectory->text().toStdString();
    return settings;
}

bool CGeneralCfgPPGeneral::Leave() {
    const ConfigErrors errors = CServiceRules::CheckSettings(Values());
    if (errors.empty())
        return true;
    QLineEdit* field = errors.front().field == "PROTOCOLFILE" ? m_pProtocolFile : m_pDataDirectory;
    field->setFocus();
    field->selectAll();
    CMessageBox::Error(this, ToQString(errors.front().message));
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
