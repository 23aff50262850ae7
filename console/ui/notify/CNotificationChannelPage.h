// One channel's page of the notification sheet: the daily window ("Aktiv
// von" … "bis" … "Uhr"), the channel's fields and "&Test". The MS-Mail page
// picks recipients from the mail library's address book and the printer
// page a print queue of this computer ("&Durchsuchen..."); the queue's
// driver goes to DRIVERNAME, which is dropped when the printer name is
// typed by hand. Limits come from the notification rules.
#pragma once

#include "CFieldBinder.h"
#include "CPrinterQueueModel.h"
#include "DBRecords.h"
#include "NotificationJob.h"
#include "NotifySheetContext.h"

#include <QWidget>

#include <vector>

class QLineEdit;
class QPushButton;

class CNotificationChannelPage : public QWidget {
    Q_OBJECT
public:
    CNotificationChannelPage(const NotifySheetContext& context, NotificationChannel channel,
                             QWidget* parent = nullptr);

    NotificationChannel Channel() const { return m_eChannel; }
    void Load(const DBNotification& notification) const { m_fields.Load(notification); }
    void Store(DBNotification& notification) const { m_fields.Store(notification); }
    // The first of the rules' errors that belongs to a field of this page.
    FieldRefusal RefusalOf(const ConfigErrors& errors) const { return m_fields.RefusalOf(errors); }
    // The editor of a column ("SMS.RECIPIENT"); null when not on this page.
    QWidget* Field(const char* column) const { return m_fields.Editor(column); }
    QPushButton* TestButton() const { return m_pTest; }
    // Null on pages without one.
    QPushButton* BrowseButton() const { return m_pBrowse; }

    // What "&Durchsuchen..." does on the MS-Mail and the printer page.
    void SelectRecipients();
    // Both return at once: the log-on and the reading of the queues run
    // behind a busy indicator, the selection follows when they are done.
    void SelectPrinter();

signals:
    void testRequested();

private:
    void AddWindowRow(class QFormLayout& form, const QString& prefix);
    QLineEdit* TextField(const char* column) const;
    void OfferPrinters(std::vector<CPrinterQueueModel::Queue> queues);

    NotifySheetContext m_context;
    const NotificationChannel m_eChannel;
    CFieldBinder<DBNotification> m_fields;
    QPushButton* m_pTest;
    QPushButton* m_pBrowse = nullptr;
};
