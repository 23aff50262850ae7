// The sheet "Benachrichtigungseigenschaften" of one notification: "Allgemein"
// (name, required with message 1014, description, and the channels it uses)
// and one page per channel. OK stores the notification with its six channel
// rows (a new one receives its key); Cancel stores nothing. Every channel
// page tests its channel with the values the sheet holds at that moment,
// once they pass the page's check; without the engine's test notifications
// the "&Test" buttons are disabled.
#pragma once

#include "CFieldBinder.h"
#include "CNotifyPropertySheet.h"
#include "DBRecords.h"
#include "NotificationJob.h"
#include "NotifySheetContext.h"

#include <array>

class CChannelTestRunner;
class CNotificationChannelPage;

class CNotificationSheet : public CNotifyPropertySheet {
    Q_OBJECT
public:
    // notification: a stored one, or CNotificationRules::NewNotification().
    CNotificationSheet(const NotifySheetContext& context, const DBNotification& notification,
                       QWidget* parent = nullptr);

    // The notification as stored by OK (with its keys).
    const DBNotification& Notification() const { return m_notification; }
    // What the pages hold now.
    DBNotification Collected() const;
    QWidget* GeneralField(const char* column) const { return m_general.Editor(column); }
    CNotificationChannelPage& ChannelPage(NotificationChannel channel) { return *m_pages[channel]; }

protected:
    bool Apply() override;

private:
    QWidget* BuildGeneralPage();
    FieldRefusal CheckGeneralPage() const;
    FieldRefusal CheckChannelPage(NotificationChannel channel) const;
    void RunTest(NotificationChannel channel);

    NotifySheetContext m_context;
    DBNotification m_notification;
    CFieldBinder<DBNotification> m_general;
    std::array<CNotificationChannelPage*, CHANNEL_COUNT> m_pages{};
    std::array<CChannelTestRunner*, CHANNEL_COUNT> m_runners{}; // made at the first test
};
