// tarn-admin plugin: install, remove and list plug-ins of the installation
// ($TARN_HOME, else the program directory) without the desktop, with the same
// checks, messages and questions as the plug-in sheet. Questions are answered
// yes with --yes and refused otherwise.
#include "AdminSession.h"

#include "AppPaths.h"
#include "CDBEngineTARN.h"
#include "CHeadlessPluginUI.h"
#include "CPluginManager.h"
#include "LUTool.h"
#include "RegistryFile.h"

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <memory>

namespace {

struct PluginArgs {
    std::vector<std::string> words;
    bool bYes = false;
};

PluginArgs SplitFlags(const AdminArgs& args) {
    PluginArgs parsed;
    for (const std::string& arg : args) {
        if (arg == "--yes" || arg == "-y")
            parsed.bYes = true;
        else
            parsed.words.push_back(arg);
    }
    return parsed;
}

int Usage() {
    std::cerr << "usage: tarn-admin plugin install FILE [--yes] | remove TYPE [--yes] | list\n";
    return 2;
}

int Install(CPluginManager& manager, const std::string& strFile) {
    switch (manager.Install(strFile)) {
    case PluginInstallResult::Installed:
        std::cout << "installed into " << manager.GetPluginDirectory() << "\n";
        return 0;
    case PluginInstallResult::Declined:
        std::cerr << "tarn-admin: not installed (confirm with --yes)\n";
        return 1;
    default:
        return 1;
    }
}

int Remove(CPluginManager& manager, const std::string& strType) {
    int32_t nType = 0;
    auto [end, error] = std::from_chars(strType.data(), strType.data() + strType.size(), nType);
    if (error != std::errc{} || end != strType.data() + strType.size()) {
        std::cerr << "tarn-admin: plug-in type must be a number: " << strType << "\n";
        return 2;
    }
    switch (manager.Remove(nType)) {
    case PluginRemoveResult::Removed:
        std::cout << "removed plug-in " << nType << "\n";
        return 0;
    case PluginRemoveResult::Declined:
        std::cerr << "tarn-admin: not removed (confirm with --yes)\n";
        return 1;
    case PluginRemoveResult::NotInstalled:
        std::cerr << "tarn-admin: no plug-in of type " << nType << " is installed\n";
        return 1;
    default:
        return 1;
    }
}

// One line per stored plug-in: type, name, version, whether its library
// loads for this console, and the library file.
int List(CDBEngineTARN& database) {
    DBPluginList rows;
    if (!database.GetAllPlugins(rows))
        return 1;
    for (const DBPlugin& row : rows) {
        CPlugin plugin;
        int nResult = plugin.Load(row.PLUGIN_MODULE, kTarnVersionText);
        bool bLoads = nResult == CPlugin::LoadOk && plugin.GetType() == row.PLUGIN_TYPE;
        std::cout << row.PLUGIN_TYPE << "\t" << row.PLUGIN_NAME << "\t"
                  << (bLoads ? plugin.GetPluginInfo().Version : "-") << "\t"
                  << (bLoads ? "ok" : "not loadable") << "\t" << row.PLUGIN_MODULE << "\n";
        plugin.Unload();
    }
    return 0;
}

// Traces go where the console writes them, at the level the registry sets.
void SetUpTrace() {
    LUTool().SetFileName(GetInstallationDirectory() + "TRC_TARN.LOG");
    std::string strLevel = CRegistryFile().ReadString(kTarnRegistryKey, "DebugLevel");
    LUTool().SetLevel(static_cast<uint32_t>(std::strtoul(strLevel.c_str(), nullptr, 10)));
}

} // namespace

int RunPlugin(const AdminArgs& args) {
    PluginArgs parsed = SplitFlags(args);
    const std::vector<std::string>& words = parsed.words;
    bool bList = words.size() == 1 && words[0] == "list";
    bool bChange = words.size() == 2 && (words[0] == "install" || words[0] == "remove");
    if (!bList && !bChange)
        return Usage();
    SetUpTrace();
    CInstallationLock lock;
    if (bChange && !LockInstallation(GetInstallationDirectory(), lock))
        return 1;
    std::unique_ptr<CDBEngineTARN> pDatabase = OpenInstallation();
    if (!pDatabase)
        return 1;
    if (bList)
        return List(*pDatabase);
    CHeadlessPluginUI ui(parsed.bYes);
    CPluginStoreAdapter<CDBEngineTARN> store(*pDatabase);
    CPluginList plugins;
    CPluginManager manager(plugins, store, ui, GetInstallationDirectory() + "Plugins/");
    int nExit = words[0] == "install" ? Install(manager, words[1]) : Remove(manager, words[1]);
    manager.UnloadAll();
    return nExit;
}
