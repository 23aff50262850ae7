#include "CNotifyProfileSheet.h"

#include "CDBEngineTARN.h"
#include "CNotificationRules.h"
#include "CProfileNotificationsPage.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QFormLayout>

CNotifyProfileSheet::CNotifyProfileSheet(const NotifySheetContext& context,
                                         const DBNotifyProfile& profile, QWidget* parent)
    : CNotifyPropertySheet(UiText(IDS_SHEET_NOTIFY_PROFILE), parent), m_context(context),
      m_profile(profile), m_fields(CNotificationRules::ProfileFields()),
      m_pNotifications(new CProfileNotificationsPage(context, profile.PROFILE_ID)) {
    AddPage(BuildGeneralPage(), UiText(IDS_NOTIFY_PAGE_GENERAL),
            [this] { return CheckGeneralPage(); });
    AddPage(m_pNotifications, UiText(IDS_NOTIFY_PAGE_NOTIFICATIONS));
    m_fields.Load(m_profile);
    resize(560, 400);
}

QWidget* CNotifyProfileSheet::BuildGeneralPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(UiTextPart(IDS_PROFILE_LABELS, 0), m_fields.Add("NAME"));
    form->addRow(UiTextPart(IDS_PROFILE_LABELS, 1), m_fields.Add("DESCRIPTION"));
    return page;
}

DBNotifyProfile CNotifyProfileSheet::Collected() const {
    DBNotifyProfile profile = m_profile;
    m_fields.Store(profile);
    return profile;
}

FieldRefusal CNotifyProfileSheet::CheckGeneralPage() const {
    return m_fields.RefusalOf(CNotificationRules::CheckProfile(Collected()));
}

// The profile first, so that a new one has its key for its notification list.
bool CNotifyProfileSheet::Apply() {
    DBNotifyProfile profile = Collected();
    if (!m_context.database.SetNotifyProfile(profile))
        return false;
    m_profile = profile;
    const std::vector<int32_t> marked = m_pNotifications->SendingOrder();
    return m_context.database.SetNotifyProfileNotifications(m_profile.PROFILE_ID, marked);
}
