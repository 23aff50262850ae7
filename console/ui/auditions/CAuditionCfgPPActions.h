// The page "Aktionen": the restart actions (for a plug-in audition the
// actions its plug-in offers instead), the start parameters, when to notify,
// the maximum problem duration and the notify profiles of the audition.
#pragma once

#include "AuditionSheetContext.h"
#include "CAuditionPage.h"
#include "CNotifyProfileChoiceModel.h"

class QCheckBox;
class QLineEdit;
class QStringListModel;
class CReportList;

class CAuditionCfgPPActions : public CAuditionPage {
    Q_OBJECT
public:
    CAuditionCfgPPActions(AuditionType type, const AuditionSheetContext& context,
                          QWidget* parent = nullptr);

    void Load(const DBAudition& record) override;
    // The marked notify profiles, in the order of the list.
    DBKeyList ChosenProfiles() const { return m_profiles.Chosen(); }
    CNotifyProfileChoiceModel& Profiles() { return m_profiles; }
    // The plug-in's actions as shown (empty for other types).
    QStringList PluginActions() const;

private:
    void AddRestartBoxes(class QFormLayout* form);
    void AddPluginActions(class QFormLayout* form);
    void LoadPluginActions(const DBAudition& record);
    // Enables the restart controls by the rules; a checked "System neu
    // starten" unchecks the other two and empties the start parameters.
    void UpdateRestartControls();

    const AuditionSheetContext& m_context;
    QCheckBox* m_pRestartService = nullptr;
    QCheckBox* m_pRestartApp = nullptr;
    QCheckBox* m_pRestartSystem = nullptr;
    QLineEdit* m_pParameters = nullptr;
    QStringListModel* m_pPluginActions = nullptr;
    CNotifyProfileChoiceModel m_profiles;
    CReportList* m_pProfileList = nullptr;
};
