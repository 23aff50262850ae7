#include "AuditionList.h"

#include "LUTool.h"

#include <algorithm>

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
    if (!WaitUntilFreeAt(nIndex))
        return;
    m_entries[static_cast<size_t>(nIndex)] = entry;
    m_ids[static_cast<size_t>(nIndex)] = entry.Definition.AUDITION_ID;
}

void CAuditionList::RemoveAt(int nIndex) {
    if (!WaitUntilFreeAt(nIndex))
        return;
    m_entries.erase(m_entries.begin() + nIndex);
    m_ids.erase(m_ids.begin() + nIndex);
}

void CAuditionList::AddAudition(const DBAudition& definition) {
    AuditionEntry entry;
    entry.Definition = definition;
    m_entries.push_back(std::move(entry));
    m_ids.push_back(definition.AUDITION_ID);
}

int CAuditionList::FindIndex(int32_t auditionId) const {
    const auto found = std::find(m_ids.begin(), m_ids.end(), auditionId);
    return found == m_ids.end() ? -1 : static_cast<int>(found - m_ids.begin());
}

void CAuditionList::UpdateEntry(const AuditionEntry& entry) {
    WaitUntilFree(entry.Definition.AUDITION_ID);
    int nIndex = FindIndex(entry.Definition.AUDITION_ID);
    if (nIndex >= 0)
        m_entries[static_cast<size_t>(nIndex)] = entry;
}

void CAuditionList::UpdateRunState(const AuditionEntry& entry) {
    WaitUntilFree(entry.Definition.AUDITION_ID);
    int nIndex = FindIndex(entry.Definition.AUDITION_ID);
    if (nIndex >= 0)
        CopyRunState(entry, m_entries[static_cast<size_t>(nIndex)]);
}

void CAuditionList::RemoveEntry(int32_t auditionId) {
    WaitUntilFree(auditionId);
    int nIndex = FindIndex(auditionId);
    if (nIndex < 0)
        return;
    m_entries.erase(m_entries.begin() + nIndex);
    m_ids.erase(m_ids.begin() + nIndex);
}

bool CAuditionList::IsClaimedByOther(int32_t auditionId) const {
    const std::thread::id self = std::this_thread::get_id();
    return std::any_of(m_claims.begin(), m_claims.end(), [&](const ClaimRecord& claim) {
        return claim.AuditionId == auditionId && claim.Owner != self;
    });
}

void CAuditionList::WaitUntilFree(int32_t auditionId) {
    m_claimReleased.wait(m_lock, [&] { return !IsClaimedByOther(auditionId); });
}

bool CAuditionList::WaitUntilFreeAt(int nIndex) {
    while (IndexValid(nIndex)) {
        const int32_t auditionId = m_entries[static_cast<size_t>(nIndex)].Definition.AUDITION_ID;
        if (!IsClaimedByOther(auditionId))
            return true;
        m_claimReleased.wait(m_lock); // the entries may have moved meanwhile
    }
    return false;
}

void CAuditionList::Claim(int32_t auditionId) {
    WaitUntilFree(auditionId);
    m_claims.push_back({auditionId, std::this_thread::get_id()});
}

void CAuditionList::Release(int32_t auditionId) {
    const std::thread::id self = std::this_thread::get_id();
    auto found = std::find_if(m_claims.begin(), m_claims.end(), [&](const ClaimRecord& claim) {
        return claim.AuditionId == auditionId && claim.Owner == self;
    });
    if (found != m_claims.end())
        m_claims.erase(found);
    m_claimReleased.notify_all();
}
