// The console's host object handed to every plug-in instance: lists from the
// agents' global configuration file "TARN.CFG" and a message box. It only
// reads files, so any thread may call it.
#pragma once

#include "IPluginUI.h"

#include <tarn/TarnPlugin.h>

#include <functional>
#include <string>

class CPluginHost final : public IPluginHost {
public:
    // globalConfigFile returns the current path of "TARN.CFG", empty while no
    // data directory is configured.
    CPluginHost(std::function<std::string()> globalConfigFile, IPluginUI& ui)
        : m_globalConfigFile(std::move(globalConfigFile)), m_ui(ui) {}
    ~CPluginHost() = default;

    int32_t GetInstalledServices(const std::string& computer, PluginHostList* list) override;
    int32_t GetWatchedServices(const std::string& computer, PluginHostList* list) override;
    int32_t GetWatchedApps(const std::string& computer, PluginHostList* list) override;
    void ShowMessage(const std::string& text) override;

private:
    enum class ListKind { InstalledServices, WatchedServices, WatchedApps };

    std::function<std::string()> m_globalConfigFile;
    IPluginUI& m_ui;

    int32_t FillList(const std::string& strComputer, ListKind kind, PluginHostList* pList);
};
