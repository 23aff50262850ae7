#include "CAuditionCfgPPPlugin.h"

#include "CMessageBox.h"
#include "CScopedPluginInstance.h"
#include "MessageIds.h"
#include "UiText.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

enum Part { PageTitle, Computer, Plugin, ConfigureButton };

QString Text(Part part) {
    return UiTextPart(IDS_AUDITION_PLUGIN_PAGE, part);
}

} // namespace

CAuditionCfgPPPlugin::CAuditionCfgPPPlugin(const AuditionSheetContext& context, QWidget* parent)
    : CAuditionPage(AuditionType::Plugin, Text(PageTitle), parent), m_context(context) {
    auto* form = new QFormLayout(this);
    m_pComputer = AddLine(form, Text(Computer), "SERVER_PATH");
    auto* plugin = new QLineEdit;
    plugin->setReadOnly(true);
    BindLine("PLUGIN_NAME", plugin, Text(Plugin));
    auto* configure = new QPushButton(Text(ConfigureButton));
    configure->setObjectName(QStringLiteral("Configure"));
    connect(configure, &QPushButton::clicked, this, &CAuditionCfgPPPlugin::Configure);
    auto* row = new QHBoxLayout;
    row->addWidget(plugin);
    row->addWidget(configure);
    form->addRow(Text(Plugin), row);
}

void CAuditionCfgPPPlugin::Load(const DBAudition& record) {
    CAuditionPage::Load(record);
    m_nAuditionID = record.AUDITION_ID;
    m_nPluginType = record.Plugin.PLUGIN_TYPE;
}

// The instance gets the computer as the page shows it now.
void CAuditionCfgPPPlugin::Configure() {
    CScopedPluginInstance instance(m_context.Plugins, m_nPluginType, m_nAuditionID,
                                   m_pComputer->text().toStdString(), &m_context.PluginHost);
    if (!instance.PluginFound())
        CMessageBox::Warning(this, UiText(IDS_PLUGIN_NOT_INSTALLED));
    else if (instance)
        instance->Configure();
}

// A plug-in that refuses the instance is treated as absent for this use: it
// cannot be asked, so it does not hold the sheet.
bool CAuditionCfgPPPlugin::ConfirmComplete() {
    CScopedPluginInstance instance(m_context.Plugins, m_nPluginType, m_nAuditionID,
                                   m_pComputer->text().toStdString(), &m_context.PluginHost);
    unsigned refusal = 0;
    if (!instance.PluginFound())
        refusal = IDS_PLUGIN_NOT_INSTALLED;
    else if (instance && instance->IsConfigured() == 0)
        refusal = IDS_NOT_CONFIGURED;
    if (refusal == 0)
        return true;
    emit showRequested(this);
    CMessageBox::Warning(this, UiText(refusal));
    return false;
}
