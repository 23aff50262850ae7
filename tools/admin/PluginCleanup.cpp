#include "PluginCleanup.h"

#include "CHeadlessPluginUI.h"
#include "CPlugin.h"
#include "CPluginHost.h"
#include "PluginAuditionCleanup.h"
#include "TARNTool.h"

#include <algorithm>

bool FindInstalledPlugin(CDBEngineTARN& database, int32_t type, DBPlugin& row) {
    DBPluginList rows;
    if (!database.GetAllPlugins(rows))
        return false;
    const auto it = std::find_if(rows.begin(), rows.end(), [&](const DBPlugin& plugin) {
        return plugin.PLUGIN_TYPE == type;
    });
    if (it == rows.end())
        return false;
    row = *it;
    return true;
}

void LetPluginCleanUp(CDBEngineTARN& database, const DBAudition& audition) {
    if (static_cast<AuditionType>(audition.AUDITION_TYPE) != AuditionType::Plugin)
        return;
    DBPlugin row;
    if (!FindInstalledPlugin(database, audition.Plugin.PLUGIN_TYPE, row))
        return;
    CPlugin plugin;
    if (plugin.Load(row.PLUGIN_MODULE, kTarnVersionText) != CPlugin::LoadOk) {
        plugin.Unload();
        return;
    }
    DBConfiguration settings;
    const std::string configFile =
        database.GetConfiguration(settings) ? settings.DATA_DIRECTORY + "TARN.CFG" : "";
    CHeadlessPluginUI ui(false);
    CPluginHost host([configFile] { return configFile; }, ui);
    CPluginList plugins;
    plugins.Add(plugin);
    LetPluginCleanUp(plugins, host, audition);
    plugin.Unload();
}
