// The page of the general settings sheet: the protocol file and the data
// directory, each with a browse button. Leaving the page checks them with
// CServiceRules: a missing or empty directory shows "Das Verzeichnis
// existiert nicht. ..." and the page stays.
#pragma once

#include "CFieldBinder.h"
#include "DBRecords.h"

#include <QWidget>

class QGridLayout;
class QLineEdit;
class QPushButton;

class CGeneralCfgPPGeneral : public QWidget {
    Q_OBJECT
public:
    explicit CGeneralCfgPPGeneral(QWidget* parent = nullptr);

    void SetValues(const DBConfiguration& settings);
    DBConfiguration Values() const;
    // Checks the values; shows the first refusal and returns false.
    bool Leave();

    QLineEdit* ProtocolFile() const { return m_pProtocolFile; }
    QLineEdit* DataDirectory() const { return m_pDataDirectory; }

private:
    // The column's editor in the row with its label and browse button.
    QLineEdit* AddRow(QGridLayout* grid, int row, unsigned label, const char* column,
                      QPushButton*& browse);
    void BrowseProtocolFile();
    void BrowseDataDirectory();

    CFieldBinder<DBConfiguration> m_fields;
    QLineEdit* m_pProtocolFile = nullptr;
    QLineEdit* m_pDataDirectory = nullptr;
};
