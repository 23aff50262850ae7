#include "CPluginManager.h"

#include "AppPaths.h"
#include "LUTool.h"
#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"
#include "TARNTool.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The width of the PLUGINS text columns, in characters.
constexpr size_t kColumnCharacters = 255;

std::string BaseName(const std::string& strPath) {
    size_t nSlash = strPath.find_last_of('/');
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

bool SamePath(const std::string& strA, const std::string& strB) {
    std::error_code error;
    if (strA == strB)
        return true;
    return std::filesystem::equivalent(strA, strB, error) && !error;
}

// Copies the file into a new file of a unique name in the folder; false with
// the reason when it cannot. The copy gets a name of its own, so that loading
// it never finds a library of the same path that is still loaded.
bool CopyToUniqueFile(const std::string& strFile, const std::string& strFolder,
                      std::string& strCopy, std::string& strReason) {
    std::error_code error;
    std::filesystem::create_directories(strFolder, error);
    if (error) {
        strReason = error.message();
        return false;
    }
    std::string strPattern = strFolder + "." + BaseName(strFile) + ".XXXXXX";
    int fd = ::mkstemp(strPattern.data());
    if (fd < 0) {
        strReason = std::strerror(errno);
        return false;
    }
    ::fchmod(fd, 0644);
    ::close(fd);
    strCopy = strPattern;
    std::filesystem::copy_file(strFile, strCopy, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (error) {
        strReason = error.message();
        ::unlink(strCopy.c_str());
        return false;
    }
    return true;
}

} // namespace

CPluginManager::CPluginManager(CPluginList& plugins, IPluginStore& store, IPluginUI& ui,
                               std::string strPluginDirectory, std::string strMinimumVersion)
    : m_plugins(plugins), m_store(store), m_pUI(&ui),
      m_strPluginDirectory(WithTrailingSeparator(std::move(strPluginDirectory))),
      m_strMinimumVersion(std::move(strMinimumVersion)) {}

// Shows the messages of one call through another user interface.
class CPluginManager::CUIScope {
public:
    CUIScope(CPluginManager& manager, IPluginUI& ui)
        : m_manager(manager), m_pPrevious(std::exchange(manager.m_pUI, &ui)) {}
    ~CUIScope() { m_manager.m_pUI = m_pPrevious; }
    CUIScope(const CUIScope&) = delete;
    CUIScope& operator=(const CUIScope&) = delete;

private:
    CPluginManager& m_manager;
    IPluginUI* m_pPrevious;
};

PluginInstallResult CPluginManager::Install(const std::string& strFile, IPluginUI& ui) {
    CUIScope scope(*this, ui);
    return Install(strFile);
}

PluginRemoveResult CPluginManager::Remove(int32_t nType, IPluginUI& ui) {
    CUIScope scope(*this, ui);
    return Remove(nType);
}

void CPluginManager::ShowError(unsigned nMessageID) {
    m_pUI->ShowError(nMessageID, LoadTarnString(nMessageID));
}

void CPluginManager::ShowCopyError(const std::string& strFile, const std::string& strReason) {
    m_pUI->ShowError(IDS_PLUGIN_COPY_FAILED,
                     FillMessage(LoadTarnString(IDS_PLUGIN_COPY_FAILED),
                                 {strFile, m_strPluginDirectory, strReason}));
}

void CPluginManager::LoadInstalledPlugins() {
    m_plugins.Clear();
    DBPluginList rows;
    if (!m_store.GetAllPlugins(rows))
        return;
    for (const DBPlugin& row : rows) {
        CPlugin plugin;
        int nResult = plugin.Load(row.PLUGIN_MODULE, m_strMinimumVersion);
        // The row names the plug-in; a library that reports another type is not it.
        if (nResult == CPlugin::LoadOk && plugin.GetType() == row.PLUGIN_TYPE) {
            m_plugins.Add(plugin);
            continue;
        }
        plugin.Unload();
        m_store.DeletePlugin(row);
        m_pUI->ShowWarning(IDS_PLUGIN_DROPPED,
                           FillMessage(LoadTarnString(IDS_PLUGIN_DROPPED), {row.PLUGIN_NAME}));
    }
}

bool CPluginManager::IsTypeInstalled(int32_t nType, const DBPluginList& rows) const {
    CPlugin plugin;
    return m_plugins.Find(nType, plugin) ||
           std::any_of(rows.begin(), rows.end(),
                       [nType](const DBPlugin& row) { return row.PLUGIN_TYPE == nType; });
}

bool CPluginManager::IsModuleInstalled(const std::string& strModule,
                                       const DBPluginList& rows) const {
    return std::any_of(rows.begin(), rows.end(), [&strModule](const DBPlugin& row) {
        return SamePath(row.PLUGIN_MODULE, strModule);
    });
}

bool CPluginManager::ConfirmInstall(const PluginInfo& info) {
    return m_pUI->AskYesNo(IDS_ASK_INSTALL_PLUGIN,
                           FillMessage(LoadTarnString(IDS_ASK_INSTALL_PLUGIN),
                                       {info.Name, info.Version, info.Description}));
}

PluginInstallResult CPluginManager::Install(const std::string& strFile) {
    DBPluginList rows;
    if (!m_store.GetAllPlugins(rows))
        return PluginInstallResult::StoreFailed;
    const std::string strDestination = m_strPluginDirectory + BaseName(strFile);
    // Replacing the file of an installed plug-in would change that plug-in
    // under its row; it has to be removed first.
    if (IsModuleInstalled(strDestination, rows)) {
        ShowError(IDS_PLUGIN_ALREADY_INSTALLED);
        return PluginInstallResult::AlreadyInstalled;
    }
    std::string strCopy;
    if (!PrepareCopy(strFile, strCopy))
        return PluginInstallResult::CopyFailed;
    CPlugin plugin;
    int nLoadResult = plugin.Load(strCopy, m_strMinimumVersion);
    PluginInstallResult result = CheckLoaded(plugin, nLoadResult, rows);
    if (result == PluginInstallResult::Installed && !ConfirmInstall(plugin.GetPluginInfo()))
        result = PluginInstallResult::Declined;
    if (result == PluginInstallResult::Installed)
        return Commit(plugin, strCopy, strDestination);
    plugin.Unload();
    ::unlink(strCopy.c_str());
    return result;
}

bool CPluginManager::PrepareCopy(const std::string& strFile, std::string& strCopy) {
    std::string strReason;
    struct stat status {};
    if (::stat(strFile.c_str(), &status) != 0) {
        ShowCopyError(strFile, std::strerror(errno));
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        ShowCopyError(strFile, std::strerror(EISDIR));
        return false;
    }
    if (!CopyToUniqueFile(strFile, m_strPluginDirectory, strCopy, strReason)) {
        ShowCopyError(strFile, strReason);
        return false;
    }
    return true;
}

PluginInstallResult CPluginManager::CheckLoaded(CPlugin& plugin, int nLoadResult,
                                                const DBPluginList& rows) {
    switch (nLoadResult) {
    case CPlugin::LoadOk:
        break;
    case CPlugin::LoadNotPlugin:
        ShowError(IDS_NOT_A_PLUGIN);
        return PluginInstallResult::NotPlugin;
    default:
        ShowError(IDS_PLUGIN_INCOMPATIBLE);
        return PluginInstallResult::Incompatible;
    }
    if (IsTypeInstalled(plugin.GetType(), rows)) {
        ShowError(IDS_PLUGIN_ALREADY_INSTALLED);
        return PluginInstallResult::AlreadyInstalled;
    }
    return PluginInstallResult::Installed;
}

PluginInstallResult CPluginManager::Commit(CPlugin& plugin, const std::string& strCopy,
                                           const std::string& strDestination) {
    if (::rename(strCopy.c_str(), strDestination.c_str()) != 0) {
        ShowCopyError(strCopy, std::strerror(errno));
        plugin.Unload();
        ::unlink(strCopy.c_str());
        return PluginInstallResult::CopyFailed;
    }
    DBPlugin row;
    row.PLUGIN_TYPE = plugin.GetType();
    row.PLUGIN_NAME = CutToCharacters(plugin.GetPluginInfo().Name, kColumnCharacters);
    row.PLUGIN_MODULE = strDestination;
    if (!m_store.SetPlugin(row)) {
        plugin.Unload();
        ::unlink(strDestination.c_str());
        return PluginInstallResult::StoreFailed;
    }
    plugin.SetFileName(strDestination);
    m_plugins.Add(plugin);
    return PluginInstallResult::Installed;
}

bool CPluginManager::IsTypeInUse(int32_t nType, bool& bInUse) {
    DBAuditionList auditions;
    if (!m_store.GetAllAuditions(auditions))
        return false;
    bInUse = std::any_of(auditions.begin(), auditions.end(), [nType](const DBAudition& audition) {
        return audition.AUDITION_TYPE == static_cast<int32_t>(AuditionType::Plugin) &&
               audition.Plugin.PLUGIN_TYPE == nType;
    });
    return true;
}

PluginRemoveResult CPluginManager::Remove(int32_t nType) {
    DBPluginList rows;
    if (!m_store.GetAllPlugins(rows))
        return PluginRemoveResult::StoreFailed;
    if (nType == 0 || !IsTypeInstalled(nType, rows))
        return PluginRemoveResult::NotInstalled;
    bool bInUse = false;
    if (!IsTypeInUse(nType, bInUse))
        return PluginRemoveResult::StoreFailed;
    if (bInUse) {
        ShowError(IDS_PLUGIN_IN_USE);
        return PluginRemoveResult::InUse;
    }
    if (!m_pUI->AskYesNo(IDS_ASK_REMOVE_PLUGIN, LoadTarnString(IDS_ASK_REMOVE_PLUGIN)))
        return PluginRemoveResult::Declined;
    DBPlugin row;
    row.PLUGIN_TYPE = nType;
    if (!m_store.DeletePlugin(row))
        return PluginRemoveResult::StoreFailed;
    CPlugin plugin;
    if (m_plugins.Find(nType, plugin)) {
        m_removed.push_back(plugin);
        m_plugins.Remove(nType);
    }
    return PluginRemoveResult::Removed;
}

void CPluginManager::UnloadAll() {
    for (size_t i = 0; i < m_plugins.GetCount(); ++i)
        m_plugins.Get(i).Unload();
    for (CPlugin& plugin : m_removed)
        plugin.Unload();
    m_removed.clear();
    m_plugins.Clear();
}
