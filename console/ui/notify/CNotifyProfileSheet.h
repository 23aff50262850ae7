// The sheet "Benachrichtigungsprofileigenschaften" of one notify profile:
// "Allgemein" with its name (required, message 1013) and description, and
// "Benachrichtigungen" with the notifications it sends. OK stores the
// profile (a new one receives its key) and the marked notifications in the
// order of the list as its sending order; Cancel stores nothing of either.
#pragma once

#include "CFieldBinder.h"
#include "CNotifyPropertySheet.h"
#include "DBRecords.h"
#include "NotifySheetContext.h"

class CProfileNotificationsPage;

class CNotifyProfileSheet : public CNotifyPropertySheet {
    Q_OBJECT
public:
    // profile: a stored profile, or one with key DB_KEY_NEW.
    CNotifyProfileSheet(const NotifySheetContext& context, const DBNotifyProfile& profile,
                        QWidget* parent = nullptr);

    // The profile as stored by OK (with its key).
    const DBNotifyProfile& Profile() const { return m_profile; }
    CProfileNotificationsPage& NotificationsPage() { return *m_pNotifications; }

protected:
    bool Apply() override;

private:
    QWidget* BuildGeneralPage();
    FieldRefusal CheckGeneralPage() const;
    DBNotifyProfile Collected() const;

    NotifySheetContext m_context;
    DBNotifyProfile m_profile;
    CFieldBinder<DBNotifyProfile> m_fields;
    CProfileNotificationsPage* m_pNotifications;
};
