#include "CNotificationSheet.h"

#include "CChannelTestRunner.h"
#include "CDBEngineTARN.h"
#include "CNotificationChannelPage.h"
#include "CNotificationRules.h"
#include "ChannelCaptions.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

namespace {

// The active flags of the channels, in their fixed order.
const char* const kActiveColumns[CHANNEL_COUNT] = {
    "SMS_ACTIVE", "MSMAIL_ACTIVE", "FAX_ACTIVE", "PRINTER_ACTIVE", "SMTP_ACTIVE", "SNMP_ACTIVE"};

} // namespace

CNotificationSheet::CNotificationSheet(const NotifySheetContext& context,
                                       const DBNotification& notification, QWidget* parent)
    : CNotifyPropertySheet(UiText(IDS_SHEET_NOTIFICATION), parent), m_context(context),
      m_notification(notification), m_general(CNotificationRules::Fields()) {
    AddPage(BuildGeneralPage(), UiText(IDS_NOTIFY_PAGE_GENERAL),
            [this] { return CheckGeneralPage(); });
    m_general.Load(m_notification);
    for (int index = 0; index < CHANNEL_COUNT; ++index) {
        const auto channel = static_cast<NotificationChannel>(index);
        auto* page = new CNotificationChannelPage(context, channel);
        page->Load(m_notification);
        m_pages[channel] = page;
        page->TestButton()->setEnabled(context.tests != nullptr);
        connect(page, &CNotificationChannelPage::testRequested, this,
                [this, channel] { RunTest(channel); });
        AddPage(page, ChannelCaption(channel),
                [this, channel] { return CheckChannelPage(channel); });
    }
    resize(600, 420);
}

QWidget* CNotificationSheet::BuildGeneralPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(UiTextPart(IDS_NOTIFICATION_LABELS, 0), m_general.Add("NAME"));
    form->addRow(UiTextPart(IDS_NOTIFICATION_LABELS, 1), m_general.Add("DESCRIPTION"));
    auto* services = new QGroupBox(UiTextPart(IDS_NOTIFICATION_LABELS, 2));
    auto* grid = new QGridLayout(services);
    for (int channel = 0; channel < CHANNEL_COUNT; ++channel)
        grid->addWidget(m_general.Add(kActiveColumns[channel],
                                      ChannelCaption(static_cast<NotificationChannel>(channel))),
                        channel % 3, channel / 3);
    form->addRow(services);
    return page;
}

DBNotification CNotificationSheet::Collected() const {
    DBNotification notification = m_notification;
    m_general.Store(notification);
    for (const CNotificationChannelPage* page : m_pages)
        page->Store(notification);
    return notification;
}

FieldRefusal CNotificationSheet::CheckGeneralPage() const {
    return m_general.RefusalOf(CNotificationRules::Check(Collected()));
}

FieldRefusal CNotificationSheet::CheckChannelPage(NotificationChannel channel) const {
    return m_pages[channel]->RefusalOf(CNotificationRules::Check(Collected()));
}

// The channel's page follows the general page.
void CNotificationSheet::RunTest(NotificationChannel channel) {
    if (!m_context.tests || !CheckPage(channel + 1))
        return;
    CChannelTestRunner*& runner = m_runners[channel];
    if (!runner)
        runner = new CChannelTestRunner(*m_context.tests, m_pages[channel]);
    runner->Start(channel, Collected());
}

bool CNotificationSheet::Apply() {
    DBNotification notification = Collected();
    if (!m_context.database.SetNotification(notification))
        return false;
    m_notification = notification;
    return true;
}
