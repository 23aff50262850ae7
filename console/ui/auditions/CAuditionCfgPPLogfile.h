// The page "Logdatei": the watched file (with a file dialog to pick it),
// whether it is checked for existence or for changes, and how often.
#pragma once

#include "CAuditionPage.h"

class QLineEdit;

class CAuditionCfgPPLogfile : public CAuditionPage {
    Q_OBJECT
public:
    explicit CAuditionCfgPPLogfile(QWidget* parent = nullptr);

    // "&Durchsuchen...": the file dialog "Dateiauswahl" with the filter of 6001.
    void Browse();

private:
    QLineEdit* m_pFile = nullptr;
};
