#include "CAuditionCfgPPActions.h"

#include "AuditionComputer.h"
#include "CReportList.h"
#include "CScopedPluginInstance.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>
#include <QVBoxLayout>

namespace {

enum Part {
    PageTitle,
    Actions,
    Parameters,
    Notify,
    NotifyAlways,
    NotifyFailure,
    NotifySuccess,
    Duration,
    Minutes,
    ProfilesLabel,
    PluginActionsLabel
};

QString Text(Part part) {
    return UiTextPart(IDS_AUDITION_ACTIONS_PAGE, part);
}

const std::vector<int> kProfileColumnWidths = {130, 50, 140};

// One line per plug-in action: its name, its target and its parameters.
QString ActionLine(const PluginAction& action) {
    QStringList parts{ToQString(GetActionTypeName(static_cast<ActionType>(action.ActionType)))};
    for (const std::string& text : {action.Module, action.Service, action.Parameters})
        if (!text.empty())
            parts << ToQString(text);
    return parts.join(QStringLiteral(" "));
}

} // namespace

CAuditionCfgPPActions::CAuditionCfgPPActions(AuditionType type, const AuditionSheetContext& context,
                                             QWidget* parent)
    : CAuditionPage(type, Text(PageTitle), parent), m_context(context) {
    auto* form = new QFormLayout(this);
    if (type == AuditionType::Plugin)
        AddPluginActions(form);
    else
        AddRestartBoxes(form);
    m_pParameters = AddLine(form, Text(Parameters), "RESTART_PARAMETERS");
    auto* notify = new QVBoxLayout;
    for (const auto& [column, part] :
         {std::pair{"NOTIFY_ALWAYS", NotifyAlways}, std::pair{"NOTIFY_FAILURE", NotifyFailure},
          std::pair{"NOTIFY_SUCCESS", NotifySuccess}}) {
        auto* box = new QCheckBox(Text(part));
        BindFlag(column, box);
        notify->addWidget(box);
    }
    form->addRow(Text(Notify), notify);
    AddLine(form, Text(Duration), "MAX_DURATION", Text(Minutes));
    m_pProfileList = new CReportList(&m_profiles, kProfileColumnWidths);
    m_pProfileList->setObjectName(QStringLiteral("Profiles"));
    form->addRow(Text(ProfilesLabel), m_pProfileList);
}

void CAuditionCfgPPActions::AddRestartBoxes(QFormLayout* form) {
    auto* boxes = new QVBoxLayout;
    const std::pair<QCheckBox**, std::pair<const char*, unsigned>> restarts[] = {
        {&m_pRestartService, {"ACTION_RESTART_SERVICE", IDS_ACTION_RESTART_SERVICE}},
        {&m_pRestartApp, {"ACTION_RESTART_APP", IDS_ACTION_RESTART_APP}},
        {&m_pRestartSystem, {"ACTION_RESTART_SYSTEM", IDS_ACTION_RESTART_SYSTEM}}};
    for (const auto& [box, spec] : restarts) {
        *box = new QCheckBox(UiText(spec.second));
        BindFlag(spec.first, *box);
        boxes->addWidget(*box);
        connect(*box, &QCheckBox::clicked, this, &CAuditionCfgPPActions::UpdateRestartControls);
    }
    form->addRow(Text(Actions), boxes);
}

void CAuditionCfgPPActions::AddPluginActions(QFormLayout* form) {
    m_pPluginActions = new QStringListModel(this);
    auto* list = new QListView;
    list->setObjectName(QStringLiteral("PluginActions"));
    list->setModel(m_pPluginActions);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    form->addRow(Text(PluginActionsLabel), list);
}

void CAuditionCfgPPActions::Load(const DBAudition& record) {
    CAuditionPage::Load(record);
    DBNotifyProfileList profiles;
    DBKeyList chosen;
    m_context.Database.GetAllNotifyProfiles(profiles);
    m_context.Database.GetAuditNotifyProfiles(record.AUDITION_ID, chosen);
    m_profiles.SetProfiles(profiles, chosen);
    if (m_pPluginActions)
        LoadPluginActions(record);
    UpdateRestartControls();
}

// The plug-in's actions (slot 5); none when it is not installed or refuses
// the instance.
void CAuditionCfgPPActions::LoadPluginActions(const DBAudition& record) {
    QStringList lines;
    CScopedPluginInstance instance(m_context.Plugins, record.Plugin.PLUGIN_TYPE, record.AUDITION_ID,
                                   AuditionComputerOf(record), &m_context.PluginHost);
    if (instance) {
        PluginActionList actions;
        instance->GetActions(&actions);
        for (const PluginAction& action : actions)
            lines << ActionLine(action);
    }
    m_pPluginActions->setStringList(lines);
}

QStringList CAuditionCfgPPActions::PluginActions() const {
    return m_pPluginActions ? m_pPluginActions->stringList() : QStringList();
}

void CAuditionCfgPPActions::UpdateRestartControls() {
    const bool system = m_pRestartSystem && m_pRestartSystem->isChecked();
    const RestartControlState state = CAuditionRules::RestartControls(Type(), system);
    if (m_pRestartSystem) {
        m_pRestartApp->setEnabled(state.restartApp);
        m_pRestartService->setEnabled(state.restartService);
        m_pRestartSystem->setEnabled(state.restartSystem);
    }
    m_pParameters->setEnabled(state.parameters);
    if (system) {
        m_pRestartApp->setChecked(false);
        m_pRestartService->setChecked(false);
        m_pParameters->clear();
    }
}
