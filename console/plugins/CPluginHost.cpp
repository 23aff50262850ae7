#include "CPluginHost.h"

#include "AgentExchange.h"
#include "TextEncoding.h"

namespace {

PluginHostListItem ServiceItem(const AgentServiceInfo& service) {
    PluginHostListItem item;
    item.Module = service.Module;
    item.Name = service.Name;
    item.DisplayName = service.DisplayName;
    return item;
}

PluginHostListItem AppItem(const std::string& strApp) {
    PluginHostListItem item;
    item.Module = strApp;
    return item;
}

} // namespace

int32_t CPluginHost::GetInstalledServices(const std::string& computer, PluginHostList* list) {
    return FillList(computer, ListKind::InstalledServices, list);
}

int32_t CPluginHost::GetWatchedServices(const std::string& computer, PluginHostList* list) {
    return FillList(computer, ListKind::WatchedServices, list);
}

int32_t CPluginHost::GetWatchedApps(const std::string& computer, PluginHostList* list) {
    return FillList(computer, ListKind::WatchedApps, list);
}

void CPluginHost::ShowMessage(const std::string& text) {
    m_ui.ShowPluginMessage(text);
}

int32_t CPluginHost::FillList(const std::string& strComputer, ListKind kind,
                              PluginHostList* pList) {
    if (!pList)
        return PLUGIN_HOST_UNKNOWN_COMPUTER;
    pList->clear();
    const std::string strConfigFile = m_globalConfigFile();
    if (strConfigFile.empty())
        return PLUGIN_HOST_NO_CONFIG_FILE;
    for (const AgentInventoryComputer& computer : BuildAgentInventory(strConfigFile)) {
        if (!EqualsNoCase(computer.Name, strComputer))
            continue;
        switch (kind) {
        case ListKind::InstalledServices:
            for (const AgentServiceInfo& service : computer.InstalledServices)
                pList->push_back(ServiceItem(service));
            break;
        case ListKind::WatchedServices:
            for (const AgentServiceInfo& service : computer.Services)
                pList->push_back(ServiceItem(service));
            break;
        case ListKind::WatchedApps:
            for (const std::string& strApp : computer.Apps)
                pList->push_back(AppItem(strApp));
            break;
        }
        return PLUGIN_HOST_OK;
    }
    return PLUGIN_HOST_UNKNOWN_COMPUTER;
}
