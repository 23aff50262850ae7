// An instance for one short use (the audition sheet's calls): created from
// the plug-in of the audition's type, given back when the object goes.
//
//     CScopedPluginInstance use(plugins, nType, nAuditionID, strComputer, &host);
//     if (!use.PluginFound())  -> message 1034, the plug-in is not installed
//     else if (use)            -> use->Configure(); ...
//     (a plug-in that refuses the instance is treated as absent: nothing happens)
#pragma once

#include "CPluginList.h"

class CScopedPluginInstance {
public:
    CScopedPluginInstance(const CPluginList& plugins, int32_t nType, int32_t nAuditionID,
                          const std::string& strComputer, IPluginHost* pHost);
    ~CScopedPluginInstance();
    CScopedPluginInstance(const CScopedPluginInstance&) = delete;
    CScopedPluginInstance& operator=(const CScopedPluginInstance&) = delete;

    bool PluginFound() const { return m_bFound; }
    explicit operator bool() const { return m_pInstance != nullptr; }
    IPluginInstance* operator->() const { return m_pInstance; }
    IPluginInstance* Get() const { return m_pInstance; }

private:
    CPlugin m_plugin;
    bool m_bFound = false;
    IPluginInstance* m_pInstance = nullptr;
};
