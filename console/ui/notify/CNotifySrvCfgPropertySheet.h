// The notification service settings ("Benachrichtigungsdienste
// konfigurieren"): modem, mail, fax and SMTP parameters shared by every
// notification, on the pages "SMS", "MS-Mail", "Fax", "Drucker",
// "Internet-Mail" and "SNMP". The limits and what saving derives (the "AT"
// prefix of the modem text) come from CServiceRules. A page with a refused
// value stays open with the rule's message; OK stores everything with
// SetNotifyServicesConfig, Cancel stores nothing. The caller reloads the
// engine's caches when the sheet has closed.
#pragma once

#include "CDBEngineTARN.h"
#include "CFieldBinder.h"
#include "CSerialPorts.h"

#include <QDialog>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QRadioButton;
class QTabWidget;

class CNotifySrvCfgPropertySheet : public QDialog {
    Q_OBJECT
public:
    // registryPath: the registry file with the modem configuration.
    CNotifySrvCfgPropertySheet(CDBEngineTARN& database, std::string registryPath,
                               QWidget* parent = nullptr);

    QTabWidget* Pages() const { return m_pPages; }
    const std::vector<SerialPort>& Ports() const { return m_ports; }

public slots:
    void accept() override;

private:
    QWidget* BuildSmsPage();
    QWidget* BuildMailPage();
    QWidget* BuildFaxPage();
    // A page of text fields: (label, column) in order.
    QWidget* BuildTextPage(std::initializer_list<std::pair<unsigned, const char*>> rows);
    QWidget* BuildEmptyPage();
    void Load();
    DBNotifySrvConfig Collect() const;
    // Keeps the page that holds a refused value.
    void OnPageChanged(int index);
    // The first value refused by its field's limits or by the rules' check
    // of the whole record; record is what would be stored.
    FieldRefusal Check(DBNotifySrvConfig& record) const;
    // Shows the page of the refused widget with the message and selects it.
    void Refuse(const FieldRefusal& refusal);

    CDBEngineTARN& m_database;
    const std::string m_registryPath;
    DBNotifySrvConfig m_loaded;
    CFieldBinder<DBNotifySrvConfig> m_fields;
    std::vector<SerialPort> m_ports;
    QTabWidget* m_pPages = nullptr;
    QComboBox* m_pComPort = nullptr;
    QRadioButton* m_pPulse = nullptr;
    QRadioButton* m_pTone = nullptr;
    int m_nPage = 0;
};
