#include "CNotifySrvCfgPropertySheet.h"

#include "CMessageBox.h"
#include "CServiceRules.h"
#include "ChannelCaptions.h"
#include "MessageIds.h"
#include "SheetLayout.h"
#include "UiText.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

CNotifySrvCfgPropertySheet::CNotifySrvCfgPropertySheet(CDBEngineTARN& database,
                                                       std::string registryPath, QWidget* parent)
    : QDialog(parent), m_database(database), m_registryPath(std::move(registryPath)),
      m_fields(CServiceRules::Fields()) {
    setWindowTitle(UiText(IDS_SERVICES_SHEET_CAPTION));
    // A failed read has been reported by the database thread; the page shows
    // empty values then.
    m_database.GetNotifyServicesConfig(m_loaded);

    m_pPages = new QTabWidget(this);
    m_pPages->addTab(BuildSmsPage(), ChannelCaption(CHANNEL_SMS));
    m_pPages->addTab(BuildMailPage(), ChannelCaption(CHANNEL_MSMAIL));
    m_pPages->addTab(BuildFaxPage(), ChannelCaption(CHANNEL_FAX));
    m_pPages->addTab(BuildEmptyPage(), ChannelCaption(CHANNEL_PRINTER));
    m_pPages->addTab(
        BuildTextPage({{IDS_MAIL_SERVER, "SMTP_MAILSERVER"}, {IDS_SMTP_SENDER, "SMTP_SENDER"}}),
        ChannelCaption(CHANNEL_SMTP));
    m_pPages->addTab(BuildEmptyPage(), ChannelCaption(CHANNEL_SNMP));
    connect(m_pPages, &QTabWidget::currentChanged, this,
            &CNotifySrvCfgPropertySheet::OnPageChanged);

    LayOutSheet(*this, m_pPages);
    Load();
}

QWidget* CNotifySrvCfgPropertySheet::BuildSmsPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(UiText(IDS_DIAL_PREFIX), m_fields.Add("SMS_DIAL_PREFIX"));
    form->addRow(UiText(IDS_RETRIES_LABEL), m_fields.Add("SMS_RETRIES"));
    auto* numbers = new QGroupBox(UiText(IDS_DIAL_IN_NUMBERS), page);
    auto* numberForm = new QFormLayout(numbers);
    const char* columns[] = {"SMS_GATEWAY_D1", "SMS_GATEWAY_D2", "SMS_GATEWAY_EPLUS",
                             "SMS_GATEWAY_QUIX", "SMS_GATEWAY_NATEL_D"};
    for (int i = 0; i < 5; ++i)
        numberForm->addRow(UiTextPart(IDS_NETWORK_LABELS, i), m_fields.Add(columns[i]));
    form->addRow(numbers);
    return page;
}

QWidget* CNotifySrvCfgPropertySheet::BuildMailPage() {
    QWidget* page = BuildTextPage({{IDS_LOGON_PROFILE, "MSMAIL_LOGON_PROFILE"},
                                   {IDS_MAIL_PASSWORD, "MSMAIL_LOGON_PROFILE_PASSWORD"}});
    page->findChild<QLineEdit*>(QStringLiteral("MSMAIL_LOGON_PROFILE_PASSWORD"))
        ->setEchoMode(QLineEdit::Password);
    return page;
}

QWidget* CNotifySrvCfgPropertySheet::BuildFaxPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(UiText(IDS_DIAL_PREFIX), m_fields.Add("FAX_DIAL_PREFIX"));
    m_pComPort = new QComboBox(page);
    m_pComPort->setObjectName(QStringLiteral("FAX_COM_PORT"));
    form->addRow(UiText(IDS_COM_PORT), m_pComPort);
    form->addRow(UiText(IDS_MODEM_INIT), m_fields.Add("FAX_MODEM_INIT_STRING"));
    form->addRow(UiText(IDS_RETRIES_LABEL), m_fields.Add("FAX_RETRIES"));
    auto* dialType = new QGroupBox(UiText(IDS_DIAL_TYPE), page);
    auto* dialLayout = new QVBoxLayout(dialType);
    m_pPulse = new QRadioButton(UiText(IDS_PULSE), dialType);
    m_pPulse->setObjectName(QStringLiteral("FAX_DIAL_TYPE_PULSE"));
    m_pTone = new QRadioButton(UiText(IDS_TONE), dialType);
    m_pTone->setObjectName(QStringLiteral("FAX_DIAL_TYPE_TONE"));
    dialLayout->addWidget(m_pPulse);
    dialLayout->addWidget(m_pTone);
    form->addRow(dialType);
    return page;
}

QWidget* CNotifySrvCfgPropertySheet::BuildTextPage(
    std::initializer_list<std::pair<unsigned, const char*>> rows) {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (const auto& [label, column] : rows)
        form->addRow(UiText(label), m_fields.Add(column));
    return page;
}

QWidget* CNotifySrvCfgPropertySheet::BuildEmptyPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(UiText(IDS_NO_SERVICE_SETTINGS), page));
    layout->addStretch();
    return page;
}

void CNotifySrvCfgPropertySheet::Load() {
    m_fields.Load(m_loaded);
    m_ports = CSerialPorts::Find(m_registryPath, m_loaded.FAX_COM_PORT);
    for (const SerialPort& port : m_ports)
        m_pComPort->addItem(ToQString(CSerialPorts::DisplayText(port)));
    m_pComPort->setCurrentIndex(std::max(m_loaded.FAX_COM_PORT, 1) - 1);
    (m_loaded.FAX_DIAL_TYPE == 0 ? m_pPulse : m_pTone)->setChecked(true);
}

DBNotifySrvConfig CNotifySrvCfgPropertySheet::Collect() const {
    DBNotifySrvConfig record = m_loaded;
    m_fields.Store(record);
    record.FAX_COM_PORT = m_pComPort->currentIndex() + 1;
    record.FAX_DIAL_TYPE = m_pTone->isChecked() ? 1 : 0;
    return record;
}

void CNotifySrvCfgPropertySheet::OnPageChanged(int index) {
    const FieldRefusal refusal = m_fields.Check(m_pPages->widget(m_nPage));
    if (refusal.Refused()) {
        Refuse(refusal);
        return;
    }
    m_nPage = index;
}

void CNotifySrvCfgPropertySheet::Refuse(const FieldRefusal& refusal) {
    for (int index = 0; index < m_pPages->count(); ++index) {
        if (m_pPages->widget(index)->isAncestorOf(refusal.widget)) {
            const QSignalBlocker blocker(m_pPages);
            m_pPages->setCurrentIndex(index);
            m_nPage = index;
        }
    }
    CFieldWidgets::Select(refusal.widget);
    CMessageBox::Warning(this, refusal.message);
}

FieldRefusal CNotifySrvCfgPropertySheet::Check(DBNotifySrvConfig& record) const {
    const FieldRefusal refusal = m_fields.Check();
    if (refusal.Refused())
        return refusal;
    record = Collect();
    CServiceRules::PrepareForSaving(record);
    const ConfigErrors errors = CServiceRules::Check(record);
    if (errors.empty())
        return {};
    // Every field's widget is named after its column, also the port list,
    // which is no bound editor.
    const ConfigError& error = errors.front();
    QWidget* widget = findChild<QWidget*>(ToQString(error.field));
    return {ToQString(error.message), widget ? widget : m_pPages};
}

void CNotifySrvCfgPropertySheet::accept() {
    DBNotifySrvConfig record;
    const FieldRefusal refusal = Check(record);
    if (refusal.Refused()) {
        Refuse(refusal);
        return;
    }
    // A failed store has been reported by the database thread.
    m_database.SetNotifyServicesConfig(record);
    const int port = m_pComPort->currentIndex();
    if (port >= 0 && port < static_cast<int>(m_ports.size()))
        CSerialPorts::StoreMapping(m_registryPath, m_ports[port]);
    QDialog::accept();
}
