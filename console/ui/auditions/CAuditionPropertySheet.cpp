#include "CAuditionPropertySheet.h"

#include "CAuditionCfgPPActions.h"
#include "CAuditionCfgPPGeneral.h"
#include "CAuditionCfgPPLines.h"
#include "CAuditionCfgPPLogfile.h"
#include "CAuditionCfgPPNTEvtLog.h"
#include "CAuditionCfgPPPlugin.h"
#include "CMessageBox.h"
#include "LUTool.h"
#include "MessageIds.h"
#include "UiText.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CAuditionPropertySheet::CAuditionPropertySheet(const AuditionSheetContext& context,
                                               int32_t auditionId, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setWindowTitle(UiText(IDS_AUDITION_PROPERTIES_CAPTION));
    TARN_ASSERT(auditionId != AUDITION_ID_NEW, "Ungültige AuditionID");
    m_pTabs = new QTabWidget;
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText(IDS_BUTTON_OK));
    buttons->button(QDialogButtonBox::Cancel)->setText(UiText(IDS_BUTTON_CANCEL));
    connect(buttons, &QDialogButtonBox::accepted, this, &CAuditionPropertySheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAuditionPropertySheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTabs);
    layout->addWidget(buttons);
    if (auditionId == AUDITION_ID_NEW || !m_context.Database.GetAudition(auditionId, m_record))
        return;
    m_bLoaded = true;
    AddPages(static_cast<AuditionType>(m_record.AUDITION_TYPE));
    connect(m_pTabs, &QTabWidget::currentChanged, this, &CAuditionPropertySheet::OnPageChanged);
}

void CAuditionPropertySheet::AddPages(AuditionType type) {
    m_pActions = new CAuditionCfgPPActions(type, m_context);
    for (CAuditionPage* page : {static_cast<CAuditionPage*>(new CAuditionCfgPPGeneral(type)),
                                MakeTypePage(type), static_cast<CAuditionPage*>(m_pActions)}) {
        if (!page)
            continue;
        page->Load(m_record);
        connect(page, &CAuditionPage::showRequested, this, &CAuditionPropertySheet::ShowPage);
        m_pTabs->addTab(page, page->Title());
        m_pages.push_back(page);
    }
}

CAuditionPage* CAuditionPropertySheet::MakeTypePage(AuditionType type) {
    switch (type) {
    case AuditionType::App:
    case AuditionType::Service:
    case AuditionType::Net:
        return new CAuditionCfgPPLines(type);
    case AuditionType::Logfile:
        return new CAuditionCfgPPLogfile;
    case AuditionType::NTEvtLog:
        return new CAuditionCfgPPNTEvtLog;
    case AuditionType::Plugin:
        return m_pPlugin = new CAuditionCfgPPPlugin(m_context);
    }
    return nullptr;
}

void CAuditionPropertySheet::ShowPage(CAuditionPage* page) {
    m_bReturning = true;
    m_pTabs->setCurrentWidget(page);
    m_nShownPage = m_pTabs->currentIndex();
    m_bReturning = false;
}

void CAuditionPropertySheet::OnPageChanged(int index) {
    if (m_bReturning)
        return;
    const int left = m_nShownPage;
    m_nShownPage = index;
    if (left >= 0 && left < static_cast<int>(m_pages.size()))
        m_pages[static_cast<size_t>(left)]->Validate();
}

// Every page in order; then what saving derives and the record's own rules
// (a restart action the type does not allow), reported on the field's page.
bool CAuditionPropertySheet::Collect(DBAudition& record) {
    for (CAuditionPage* page : m_pages)
        if (!page->Validate())
            return false;
    record = m_record;
    for (const CAuditionPage* page : m_pages)
        page->Store(record);
    CAuditionRules::PrepareForSaving(record);
    const ConfigErrors errors = CAuditionRules::Check(record);
    if (errors.empty())
        return true;
    for (CAuditionPage* page : m_pages)
        if (page->SelectField(errors.front().field)) {
            ShowPage(page);
            break;
        }
    CMessageBox::Warning(this, ToQString(errors.front().message));
    return false;
}

void CAuditionPropertySheet::accept() {
    DBAudition record;
    if (!m_bLoaded || !Collect(record))
        return;
    if (m_pPlugin && !m_pPlugin->ConfirmComplete())
        return;
    if (!m_context.Database.SetAudition(record))
        return;
    m_context.Database.SetAuditNotifyProfiles(record.AUDITION_ID, m_pActions->ChosenProfiles());
    QDialog::accept();
}
