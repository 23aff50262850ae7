#include "CPluginPropertySheet.h"

#include "AppPaths.h"
#include "CPluginManager.h"
#include "CReportList.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const std::vector<int> kColumnWidths = {50, 140, 60, 260};

QPushButton* NewButton(unsigned textId, const char* name) {
    auto* button = new QPushButton(UiText(textId));
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

CPluginPropertySheet::CPluginPropertySheet(CPluginManager& manager, const CPluginList& plugins,
                                           const QString& applicationTitle, QWidget* parent)
    : QDialog(parent), m_manager(manager), m_plugins(plugins), m_ui(*this, applicationTitle) {
    setObjectName(QStringLiteral("CPluginPropertySheet"));
    setWindowTitle(UiText(IDS_PLUGIN_SHEET_CAPTION));
    BuildLayout();
    Refill(0);
}

void CPluginPropertySheet::BuildLayout() {
    m_pList = new CReportList(&m_model, kColumnWidths, this);
    m_pList->setObjectName(QStringLiteral("plugins"));
    m_pInstall = NewButton(IDS_PLUGIN_INSTALL, "install");
    m_pRemove = NewButton(IDS_PLUGIN_REMOVE, "remove");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setText(UiText(IDS_BUTTON_CLOSE));
    // Enter closes the sheet; installing and removing take a click of their own.
    m_pInstall->setAutoDefault(false);
    m_pRemove->setAutoDefault(false);
    close->setDefault(true);
    auto* actions = new QHBoxLayout;
    actions->addWidget(m_pInstall);
    actions->addWidget(m_pRemove);
    actions->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList, 1);
    layout->addLayout(actions);
    layout->addWidget(buttons);
    resize(560, 320);
    connect(m_pInstall, &QPushButton::clicked, this, &CPluginPropertySheet::Install);
    connect(m_pRemove, &QPushButton::clicked, this, &CPluginPropertySheet::RemoveSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CPluginPropertySheet::UpdateButtons);
}

// The dialog starts in the program directory, where the shipped plug-ins lie.
void CPluginPropertySheet::Install() {
    QFileDialog dialog(this, UiText(IDS_FILE_SELECTION), ToQString(GetProgramDirectory()),
                       FileDialogFilter(IDS_PLUGIN_FILTER));
    dialog.setObjectName(QStringLiteral("PluginFileDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    InstallFile(dialog.selectedFiles().constFirst());
}

void CPluginPropertySheet::InstallFile(const QString& path) {
    const std::string file = path.toStdString();
    if (m_manager.Install(file, m_ui) != PluginInstallResult::Installed)
        return;
    // The new entry is the last one of the list.
    const size_t count = m_plugins.GetCount();
    Refill(count > 0 ? m_plugins.Get(count - 1).GetType() : 0);
}

void CPluginPropertySheet::RemoveSelected() {
    const int row = m_pList->CurrentSourceRow();
    if (row < 0)
        return;
    if (m_manager.Remove(m_model.Row(row).type, m_ui) == PluginRemoveResult::Removed)
        Refill(0);
}

void CPluginPropertySheet::Refill(int32_t selectType) {
    m_model.Fill(m_plugins);
    m_pList->SelectSourceRow(selectType != 0 ? m_model.RowOfType(selectType) : -1);
    UpdateButtons();
}

void CPluginPropertySheet::UpdateButtons() {
    m_pRemove->setEnabled(m_pList->CurrentSourceRow() >= 0);
}
