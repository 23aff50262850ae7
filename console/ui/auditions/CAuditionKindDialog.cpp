#include "CAuditionKindDialog.h"

#include "AgentExchange.h"
#include "CAuditionRules.h"
#include "CMessageBox.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

enum Part { Caption, Prompt, ThisComputer };

QString TypeName(AuditionType type) {
    return ToQString(GetAuditionTypeName(type));
}

DBAudition OnComputer(AuditionType type, const std::string& computer) {
    DBAudition audition = CAuditionRules::NewAudition(type);
    audition.App.SERVER_PATH = computer;
    audition.Service.SERVER_PATH = computer;
    audition.NTEvtLog.SERVER_PATH = computer;
    audition.Plugin.SERVER_PATH = computer;
    return audition;
}

} // namespace

CAuditionKindDialog::CAuditionKindDialog(const AuditionSheetContext& context, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(UiTextPart(IDS_AUDITION_KIND_DIALOG, Caption));
    m_pTree = new QTreeView;
    m_pTree->setModel(&m_model);
    m_pTree->setHeaderHidden(true);
    m_pTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText(IDS_BUTTON_OK));
    buttons->button(QDialogButtonBox::Cancel)->setText(UiText(IDS_BUTTON_CANCEL));
    connect(buttons, &QDialogButtonBox::accepted, this, &CAuditionKindDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAuditionKindDialog::reject);
    connect(m_pTree, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.data(kEntryRole).toInt() >= 0)
            accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(UiTextPart(IDS_AUDITION_KIND_DIALOG, Prompt)));
    layout->addWidget(m_pTree);
    layout->addWidget(buttons);
    Build(context);
    m_pTree->expandToDepth(0);
}

// Applications and services are those the agent of a computer watches, so
// that the new audition is one the agent performs.
void CAuditionKindDialog::Build(const AuditionSheetContext& context) {
    const std::vector<AgentInventoryComputer> inventory =
        BuildAgentInventory(context.GlobalConfigFile());
    QStandardItem* root = m_model.invisibleRootItem();
    QStandardItem* apps = AddHeading(root, TypeName(AuditionType::App));
    QStandardItem* services = AddHeading(root, TypeName(AuditionType::Service));
    AddEntry(root, TypeName(AuditionType::Logfile),
             CAuditionRules::NewAudition(AuditionType::Logfile));
    QStandardItem* logs = AddHeading(root, TypeName(AuditionType::NTEvtLog));
    AddEntry(root, TypeName(AuditionType::Net), CAuditionRules::NewAudition(AuditionType::Net));
    QStandardItem* plugins = AddHeading(root, TypeName(AuditionType::Plugin));
    for (const AgentInventoryComputer& computer : inventory) {
        const QString name = ToQString(computer.Name);
        QStandardItem* appComputer = AddHeading(apps, name);
        for (const std::string& module : computer.Apps) {
            DBAudition audition = OnComputer(AuditionType::App, computer.Name);
            audition.App.APP_MODULE = module;
            AddEntry(appComputer, ToQString(module), audition);
        }
        QStandardItem* serviceComputer = AddHeading(services, name);
        for (const AgentServiceInfo& service : computer.Services) {
            DBAudition audition = OnComputer(AuditionType::Service, computer.Name);
            audition.Service.SERVICE_MODULE = service.Module;
            audition.Service.SERVICE_NAME = service.Name;
            audition.Service.SERVICE_DISPLAYNAME = service.DisplayName;
            AddEntry(serviceComputer,
                     ToQString(service.DisplayName.empty() ? service.Name : service.DisplayName),
                     audition);
        }
        AddEntry(logs, name, OnComputer(AuditionType::NTEvtLog, computer.Name));
    }
    for (size_t index = 0; index < context.Plugins.GetCount(); ++index) {
        const PluginInfo info = context.Plugins.Get(index).GetPluginInfo();
        QStandardItem* plugin = AddHeading(plugins, ToQString(info.Name));
        std::vector<std::string> computers{""};
        for (const AgentInventoryComputer& computer : inventory)
            computers.push_back(computer.Name);
        for (const std::string& computer : computers) {
            DBAudition audition = OnComputer(AuditionType::Plugin, computer);
            audition.Plugin.PLUGIN_TYPE = info.Type;
            audition.Plugin.PLUGIN_NAME = info.Name;
            AddEntry(plugin,
                     computer.empty() ? UiTextPart(IDS_AUDITION_KIND_DIALOG, ThisComputer)
                                      : ToQString(computer),
                     audition);
        }
    }
}

QStandardItem* CAuditionKindDialog::AddHeading(QStandardItem* parent, const QString& text) {
    auto* item = new QStandardItem(text);
    item->setData(-1, kEntryRole);
    parent->appendRow(item);
    return item;
}

void CAuditionKindDialog::AddEntry(QStandardItem* parent, const QString& text,
                                   DBAudition audition) {
    auto* item = new QStandardItem(text);
    item->setData(static_cast<int>(m_entries.size()), kEntryRole);
    m_entries.push_back(std::move(audition));
    parent->appendRow(item);
}

void CAuditionKindDialog::accept() {
    const int entry = m_pTree->currentIndex().data(kEntryRole).toInt();
    if (!m_pTree->currentIndex().isValid() || entry < 0) {
        CMessageBox::Error(this, UiText(IDS_NO_VALID_KIND));
        return;
    }
    m_chosen = m_entries[static_cast<size_t>(entry)];
    QDialog::accept();
}
