// The console's handle on one loaded plug-in library: its information and the
// addresses of its three exports. Copying a CPlugin copies the handle and the
// addresses; only an explicit Unload releases the library.
#pragma once

#include <tarn/TarnPlugin.h>

#include <cstdint>
#include <string>

// The console's version text: a plug-in reporting a version that sorts below
// it (as text) is not loaded.
inline constexpr const char* kTarnVersionText = "2.5";

class CPlugin {
public:
    // Results of Load.
    enum LoadResult : int {
        LoadOk = 0,
        LoadFailed = 2,        // the library cannot be loaded (missing file, missing dependency)
        LoadVersionTooLow = 3, // loaded, but its version sorts below the minimum
        LoadNotPlugin = 4,     // not a loadable library image, an export is missing, or type 0
    };

    // Loads the library and reads its information. On every result but
    // LoadFailed the library stays loaded until Unload.
    int Load(const std::string& strFileName, const std::string& strMinimumVersion);
    // Releases the library and clears the handle and the export addresses.
    void Unload();

    // Calls the exports; each asserts that its address is set.
    void GetInfo();
    // 0 when the plug-in created the instance; anything else means no instance.
    int32_t CreateInstance(int32_t nAuditionID, const std::string& strComputer, IPluginHost* pHost,
                           IPluginInstance** ppInstance);
    void DestroyInstance(IPluginInstance* pInstance);

    const PluginInfo& GetPluginInfo() const { return m_info; }
    int32_t GetType() const { return m_info.Type; }
    bool HasCapability(uint32_t nFlag) const { return (m_info.Capabilities & nFlag) != 0; }
    const std::string& GetFileName() const { return m_strFileName; }
    void SetFileName(std::string strFileName) { m_strFileName = std::move(strFileName); }
    bool IsLoaded() const { return m_hModule != nullptr; }
    void* GetModuleHandle() const { return m_hModule; }

private:
    PluginInfo m_info;
    GetPluginInfoFunction m_pfnGetPluginInfo = nullptr;
    CreateInstanceFunction m_pfnCreateInstance = nullptr;
    DestroyInstanceFunction m_pfnDestroyInstance = nullptr;
    void* m_hModule = nullptr;
    std::string m_strFileName;

    void ClearExports();
    bool BindExports();
};
