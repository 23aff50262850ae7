#include "CNotificationChannelPage.h"

#include "CBackgroundWork.h"
#include "CMailRecipientSelection.h"
#include "CMessageBox.h"
#include "CNotificationRules.h"
#include "CPrinterSelectionDialog.h"
#include "ChannelCaptions.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The fields of a channel page in their order, with the text of their labels.
struct ChannelLayout {
    const char* prefix;
    unsigned labels;
    std::vector<const char*> columns;
    const char* browsed; // the column "&Durchsuchen..." fills, or null
};

const ChannelLayout& LayoutOf(NotificationChannel channel) {
    static const ChannelLayout layouts[CHANNEL_COUNT] = {
        {"SMS", IDS_SMS_LABELS, {"SMS.RECIPIENT", "SMS.SENDERINFO"}, nullptr},
        {"MSMAIL", IDS_MAIL_LABELS, {"MSMAIL.RECIPIENTS", "MSMAIL.MAILTEXT"}, "MSMAIL.RECIPIENTS"},
        {"FAX", IDS_FAX_LABELS, {"FAX.RECIPIENT", "FAX.FAXTEXT"}, nullptr},
        {"PRINTER",
         IDS_PRINTER_LABELS,
         {"PRINTER.PRINTERNAME", "PRINTER.PRINTERTEXT"},
         "PRINTER.PRINTERNAME"},
        {"SMTP", IDS_MAIL_LABELS, {"SMTP.RECIPIENTS", "SMTP.MAILTEXT"}, nullptr},
        {"SNMP",
         IDS_SNMP_LABELS,
         {"SNMP.ENTERPRISE", "SNMP.VARIABLE_ID", "SNMP.SPECIFIC_ID", "SNMP.SPECIFIC_ID_RESOLVED",
          "SNMP.SPECIFIC_ID_UNRESOLVED"},
         nullptr},
    };
    return layouts[channel];
}

std::string Column(const QString& prefix, const char* name) {
    return (prefix + QLatin1Char('.') + QLatin1String(name)).toStdString();
}

} // namespace

CNotificationChannelPage::CNotificationChannelPage(const NotifySheetContext& context,
                                                   NotificationChannel channel, QWidget* parent)
    : QWidget(parent), m_context(context), m_eChannel(channel),
      m_fields(CNotificationRules::Fields()),
      m_pTest(new QPushButton(UiTextPart(IDS_CHANNEL_WINDOW, 3))) {
    const ChannelLayout& layout = LayoutOf(channel);
    auto* form = new QFormLayout;
    AddWindowRow(*form, QLatin1String(layout.prefix));
    for (size_t i = 0; i < layout.columns.size(); ++i) {
        QWidget* editor = m_fields.Add(layout.columns[i]);
        const QString label = UiTextPart(layout.labels, static_cast<int>(i));
        if (layout.browsed && std::string_view(layout.browsed) == layout.columns[i]) {
            m_pBrowse = new QPushButton(UiText(IDS_BROWSE));
            auto* row = new QHBoxLayout;
            row->addWidget(editor, 1);
            row->addWidget(m_pBrowse);
            form->addRow(label, row);
        } else {
            form->addRow(label, editor);
        }
    }
    if (channel == CHANNEL_MSMAIL)
        connect(m_pBrowse, &QPushButton::clicked, this,
                &CNotificationChannelPage::SelectRecipients);
    if (channel == CHANNEL_PRINTER) {
        // The driver is kept for the queue it was chosen with; it is not shown.
        QWidget* driver = m_fields.Add("PRINTER.DRIVERNAME");
        driver->setParent(this);
        driver->hide();
        connect(m_pBrowse, &QPushButton::clicked, this, &CNotificationChannelPage::SelectPrinter);
        connect(TextField("PRINTER.PRINTERNAME"), &QLineEdit::textEdited, this,
                [this] { TextField("PRINTER.DRIVERNAME")->clear(); });
    }
    connect(m_pTest, &QPushButton::clicked, this, &CNotificationChannelPage::testRequested);
    auto* testRow = new QHBoxLayout;
    testRow->addStretch();
    testRow->addWidget(m_pTest);
    auto* page = new QVBoxLayout(this);
    page->addLayout(form);
    page->addStretch();
    page->addLayout(testRow);
}

void CNotificationChannelPage::AddWindowRow(QFormLayout& form, const QString& prefix) {
    auto* row = new QHBoxLayout;
    row->addWidget(m_fields.Add(Column(prefix, "ACTIVE_BEGIN").c_str()));
    row->addWidget(new QLabel(UiTextPart(IDS_CHANNEL_WINDOW, 1)));
    row->addWidget(m_fields.Add(Column(prefix, "ACTIVE_END").c_str()));
    row->addWidget(new QLabel(UiTextPart(IDS_CHANNEL_WINDOW, 2)));
    row->addStretch();
    form.addRow(UiTextPart(IDS_CHANNEL_WINDOW, 0), row);
}

QLineEdit* CNotificationChannelPage::TextField(const char* column) const {
    return qobject_cast<QLineEdit*>(m_fields.Editor(column));
}

void CNotificationChannelPage::SelectRecipients() {
    const CMailRecipientSelection selection(m_context.database, m_context.mailLibraryPath);
    selection.Select(this, TextField("MSMAIL.RECIPIENTS")->text(), [this](const QString& chosen) {
        TextField("MSMAIL.RECIPIENTS")->setText(chosen);
    });
}

// The print system may answer slowly: its queues are read off this thread.
void CNotificationChannelPage::SelectPrinter() {
    using Queues = std::vector<CPrinterQueueModel::Queue>;
    CBackgroundWork::Run<Queues>(this, UiText(IDS_READING_PRINTERS),
                                 &CPrinterQueueModel::ReadQueues,
                                 [this](Queues& queues) { OfferPrinters(std::move(queues)); });
}

void CNotificationChannelPage::OfferPrinters(std::vector<CPrinterQueueModel::Queue> queues) {
    if (queues.empty()) {
        CMessageBox::Information(this, UiText(IDS_NO_PRINTER), UiText(IDS_PRINTER_SELECTION));
        return;
    }
    CPrinterSelectionDialog dialog(std::move(queues), TextField("PRINTER.PRINTERNAME")->text(),
                                   this);
    if (dialog.exec() != QDialog::Accepted || !dialog.Selected())
        return;
    TextField("PRINTER.PRINTERNAME")->setText(dialog.Selected()->name);
    TextField("PRINTER.DRIVERNAME")->setText(dialog.Selected()->driver);
}
