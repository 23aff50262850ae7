#include "CPluginList.h"

#include "LUTool.h"

#include <algorithm>

void CPluginList::Clear() {
    std::lock_guard guard(m_lock);
    m_plugins.clear();
}

void CPluginList::Add(const CPlugin& plugin) {
    std::lock_guard guard(m_lock);
    m_plugins.push_back(plugin);
}

size_t CPluginList::GetCount() const {
    std::lock_guard guard(m_lock);
    return m_plugins.size();
}

CPlugin CPluginList::Get(size_t nIndex) const {
    std::lock_guard guard(m_lock);
    TARN_ASSERT(IndexValid(nIndex), "Index ungültig");
    return IndexValid(nIndex) ? m_plugins[nIndex] : CPlugin{};
}

bool CPluginList::Find(int32_t nType, CPlugin& plugin) const {
    std::lock_guard guard(m_lock);
    auto found = std::find_if(m_plugins.begin(), m_plugins.end(),
                              [nType](const CPlugin& entry) { return entry.GetType() == nType; });
    if (found == m_plugins.end())
        return false;
    plugin = *found;
    return true;
}

bool CPluginList::Remove(int32_t nType) {
    std::lock_guard guard(m_lock);
    return std::erase_if(m_plugins,
                         [nType](const CPlugin& entry) { return entry.GetType() == nType; }) > 0;
}

bool CPluginList::HasCapability(int32_t nType, uint32_t nFlag) const {
    CPlugin plugin;
    return !Find(nType, plugin) || plugin.HasCapability(nFlag);
}
