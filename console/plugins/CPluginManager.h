// Loading the installed plug-ins at start, installing a plug-in file and
// removing a plug-in: the operations behind the plug-in sheet and
// "tarn-admin plugin". Runs on one thread (the user interface thread, or the
// command-line tool); the list it fills may be read from any thread.
#pragma once

#include "CPluginList.h"
#include "IPluginStore.h"
#include "IPluginUI.h"

#include <string>
#include <vector>

enum class PluginInstallResult {
    Installed,
    Declined,         // the user answered no
    NotPlugin,        // message 1136
    Incompatible,     // message 1032
    AlreadyInstalled, // message 1033
    CopyFailed,       // the file could not be put into the plug-in folder
    StoreFailed,      // the database refused the row (already reported)
};

enum class PluginRemoveResult {
    Removed,
    Declined,     // the user answered no
    InUse,        // message 1035
    NotInstalled, // no plug-in of that type
    StoreFailed,  // the database failed (already reported)
};

class CPluginManager {
public:
    // strPluginDirectory: the installation directory + "Plugins/".
    CPluginManager(CPluginList& plugins, IPluginStore& store, IPluginUI& ui,
                   std::string strPluginDirectory,
                   std::string strMinimumVersion = kTarnVersionText);
    CPluginManager(const CPluginManager&) = delete;
    CPluginManager& operator=(const CPluginManager&) = delete;

    // Start-up: empties the list and loads the library of every stored plug-in.
    // A row whose library does not load is deleted and reported (1030, warning).
    void LoadInstalledPlugins();
    // Copies the file into the plug-in folder, checks it and, once the user
    // agrees, stores it and adds it to the list (its library stays loaded).
    PluginInstallResult Install(const std::string& strFile);
    // Deletes the plug-in's row and list entry when no audition uses it and the
    // user agrees; its library stays loaded and its file stays on disk.
    PluginRemoveResult Remove(int32_t nType);
    // The same, with the messages and questions of this one call shown through
    // ui instead of the object given at construction (the plug-in sheet asks
    // in its own window while the engine's messages are posted).
    PluginInstallResult Install(const std::string& strFile, IPluginUI& ui);
    PluginRemoveResult Remove(int32_t nType, IPluginUI& ui);
    // Console end: unloads every library loaded by this object (the listed
    // ones and the removed ones) and empties the list.
    void UnloadAll();

    const std::string& GetPluginDirectory() const { return m_strPluginDirectory; }

private:
    CPluginList& m_plugins;
    IPluginStore& m_store;
    IPluginUI* m_pUI; // the construction's, or the one of the running call
    const std::string m_strPluginDirectory;
    const std::string m_strMinimumVersion;
    std::vector<CPlugin> m_removed; // still loaded until UnloadAll

    class CUIScope;

    void ShowError(unsigned nMessageID);
    void ShowCopyError(const std::string& strFile, const std::string& strReason);
    bool IsTypeInstalled(int32_t nType, const DBPluginList& rows) const;
    bool IsModuleInstalled(const std::string& strModule, const DBPluginList& rows) const;
    bool ConfirmInstall(const PluginInfo& info);
    bool IsTypeInUse(int32_t nType, bool& bInUse);
    bool PrepareCopy(const std::string& strFile, std::string& strCopy);
    PluginInstallResult CheckLoaded(CPlugin& plugin, int nLoadResult, const DBPluginList& rows);
    PluginInstallResult Commit(CPlugin& plugin, const std::string& strCopy,
                               const std::string& strDestination);
};
