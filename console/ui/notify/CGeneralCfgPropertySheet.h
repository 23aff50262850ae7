// The general settings ("Allgemeine Einstellungen"): the protocol file and
// the data directory of the CONFIGURATION row. On OK the data directory gets
// its trailing separator, the running console takes both values at once (the
// event view's protocol file, the agents' files and "TARN.CFG" in the new
// directory), and then they are stored with SetConfiguration; a failed store
// is reported by the database thread and leaves the running values changed.
#pragma once

#include "CDBEngineTARN.h"
#include "GlobalSettings.h"

#include <QDialog>

class CGeneralCfgPPGeneral;

class CGeneralCfgPropertySheet : public QDialog {
    Q_OBJECT
public:
    CGeneralCfgPropertySheet(CDBEngineTARN& database, CGlobalSettings& settings,
                             QWidget* parent = nullptr);

    CGeneralCfgPPGeneral& Page() const { return *m_pPage; }

public slots:
    void accept() override;

private:
    CDBEngineTARN& m_database;
    CGlobalSettings& m_settings;
    CGeneralCfgPPGeneral* m_pPage = nullptr;
};
