#include "CScopedPluginInstance.h"

CScopedPluginInstance::CScopedPluginInstance(const CPluginList& plugins, int32_t nType,
                                             int32_t nAuditionID, const std::string& strComputer,
                                             IPluginHost* pHost) {
    m_bFound = plugins.Find(nType, m_plugin);
    if (m_bFound && m_plugin.CreateInstance(nAuditionID, strComputer, pHost, &m_pInstance) != 0)
        m_pInstance = nullptr;
}

CScopedPluginInstance::~CScopedPluginInstance() {
    if (m_pInstance)
        m_plugin.DestroyInstance(m_pInstance);
}
