// The page "Plug-In": the computer, the plug-in (shown only) and
// "&Konfigurieren...", which lets the plug-in show its own configuration.
#pragma once

#include "AuditionSheetContext.h"
#include "CAuditionPage.h"

class QLineEdit;

class CAuditionCfgPPPlugin : public CAuditionPage {
    Q_OBJECT
public:
    CAuditionCfgPPPlugin(const AuditionSheetContext& context, QWidget* parent = nullptr);

    void Load(const DBAudition& record) override;
    // "&Konfigurieren...": the plug-in's configuration (slot 0), or 1034 when
    // the plug-in is no longer installed.
    void Configure();
    // On OK: whether the plug-in is installed (else 1034) and says that the
    // audition is completely configured (slot 2, else 1036).
    bool ConfirmComplete();

private:
    const AuditionSheetContext& m_context;
    QLineEdit* m_pComputer = nullptr;
    int32_t m_nAuditionID = AUDITION_ID_NEW;
    int32_t m_nPluginType = 0;
};
