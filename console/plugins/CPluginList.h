// The loaded plug-ins, in the order they were added, looked up by type number.
// Entries are copies of CPlugin; no list operation loads or unloads a module.
// Safe to use from several threads (the audition thread looks plug-ins up
// while the user interface installs or removes them).
#pragma once

#include "CPlugin.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

class CPluginList {
public:
    void Clear();
    void Add(const CPlugin& plugin);
    size_t GetCount() const;
    // The entry at the index; a bad index is an assertion and gives an empty entry.
    CPlugin Get(size_t nIndex) const;
    // A copy of the entry of the type; false when no entry has it.
    bool Find(int32_t nType, CPlugin& plugin) const;
    // Removes the entry of the type; false when there was none.
    bool Remove(int32_t nType);
    // Whether the plug-in of the type has the capability flag; a type that is
    // not in the list answers yes.
    bool HasCapability(int32_t nType, uint32_t nFlag) const;

private:
    mutable std::mutex m_lock;
    std::vector<CPlugin> m_plugins;

    bool IndexValid(size_t nIndex) const { return nIndex < m_plugins.size(); }
};
