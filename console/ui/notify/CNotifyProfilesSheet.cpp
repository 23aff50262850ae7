#include "CNotifyProfilesSheet.h"

#include "CDBEngineTARN.h"
#include "CEditableList.h"
#include "CNotifyProfileSheet.h"
#include "CReportList.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const std::vector<int> kColumnWidths = {150, 250};

} // namespace

CNotifyProfilesSheet::CNotifyProfilesSheet(const NotifySheetContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_pList(new CEditableList(&m_model, kColumnWidths)) {
    setWindowTitle(UiText(IDS_SHEET_NOTIFY_PROFILES));
    auto* tabs = new QTabWidget;
    tabs->addTab(m_pList, UiText(IDS_NOTIFY_PAGE_GENERAL));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText(IDS_BUTTON_OK));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    connect(m_pList, &CEditableList::addRequested, this, &CNotifyProfilesSheet::AddProfile);
    connect(m_pList, &CEditableList::editRequested, this, &CNotifyProfilesSheet::EditProfile);
    connect(m_pList, &CEditableList::removeRequested, this, &CNotifyProfilesSheet::RemoveProfile);
    resize(560, 360);
    Reload(0);
}

void CNotifyProfilesSheet::AddProfile() {
    DBNotifyProfile profile;
    profile.PROFILE_ID = DB_KEY_NEW;
    CNotifyProfileSheet sheet(m_context, profile, this);
    if (sheet.exec() == QDialog::Accepted)
        Reload(sheet.Profile().PROFILE_ID);
}

void CNotifyProfilesSheet::EditProfile(int row) {
    const int32_t id = m_model.At(row).id;
    DBNotifyProfile profile;
    if (!m_context.database.GetNotifyProfile(id, profile)) {
        Reload(0); // gone meanwhile, or the database said why
        return;
    }
    CNotifyProfileSheet sheet(m_context, profile, this);
    sheet.exec();
    Reload(id);
}

void CNotifyProfilesSheet::RemoveProfile(int row) {
    if (!m_pList->ConfirmRemoval(IDS_ASK_REMOVE_PROFILE, m_context.applicationTitle))
        return;
    m_context.database.DeleteNotifyProfile(m_model.At(row).id);
    Reload(0);
}

void CNotifyProfilesSheet::Reload(int32_t selectId) {
    DBNotifyProfileList profiles;
    m_context.database.GetAllNotifyProfiles(profiles);
    std::vector<CNamedEntryModel::Entry> entries;
    for (const DBNotifyProfile& profile : profiles)
        entries.push_back({profile.PROFILE_ID, QString::fromStdString(profile.NAME),
                           QString::fromStdString(profile.DESCRIPTION)});
    m_model.SetEntries(std::move(entries));
    const int row = m_model.RowOfId(selectId);
    if (row >= 0)
        m_pList->List().SelectSourceRow(row);
}
