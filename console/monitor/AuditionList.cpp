#include "AuditionList.h"

#include "LUTool.h"

bool CAuditionList::IndexValid(int nIndex) const {
    bool valid = nIndex >= 0 && nIndex < GetSize();
    LUTool().Assert(valid, "IndexValid(nIndex)", "Index ungültig", __FILE__, __LINE__, 0);
    return valid;
}

AuditionEntry CAuditionList::GetAt(int nIndex) const {
    if (!IndexValid(nIndex))
        return AuditionEntry{};
    return m_entries[static_cast<size_t>(nIndex)];
}

void CAuditionList::SetAt(int nIndex, const AuditionEntry& entry) {
    if (IndexValid(nIndex))
        m_entries[static_cast<size_t>(nIndex)] = entry;
}

void CAuditionList::RemoveAt(int nIndex) {
    if (IndexValid(nIndex))
        m_entries.erase(m_entries.begin() + nIndex);
}

void CAuditionList::AddAudition(const DBAudition& definition) {
    AuditionEntry entry;
    entry.Definition = definition;
    m_entries.push_back(std::move(entry));
}

int CAuditionList::FindIndex(int32_t auditionId) const {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].Definition.AUDITION_ID == auditionId)
            return static_cast<int>(i);
    return -1;
}

void CAuditionList::UpdateEntry(const AuditionEntry& entry) {
    int nIndex = FindIndex(entry.Definition.AUDITION_ID);
    if (nIndex >= 0)
        SetAt(nIndex, entry);
}
