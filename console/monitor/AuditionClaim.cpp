#include "AuditionClaim.h"

CAuditionClaim CAuditionClaim::AtIndex(CAuditionList& list, int nIndex) {
    CAuditionListLock lock(list);
    for (;;) {
        if (nIndex < 0 || nIndex >= list.GetSize())
            return CAuditionClaim(nullptr, 0);
        const int32_t auditionId =
            list.m_entries[static_cast<size_t>(nIndex)].Definition.AUDITION_ID;
        if (!list.IsClaimedByOther(auditionId)) {
            list.Claim(auditionId);
            CAuditionClaim claim(&list, auditionId);
            claim.m_entry = list.m_entries[static_cast<size_t>(nIndex)];
            return claim;
        }
        // The entry at the index is read afresh once the other claim has ended.
        list.m_claimReleased.wait(list.m_lock);
    }
}

CAuditionClaim CAuditionClaim::OfAudition(CAuditionList& list, int32_t auditionId) {
    CAuditionListLock lock(list);
    list.Claim(auditionId);
    const int nIndex = list.FindIndex(auditionId);
    if (nIndex < 0) {
        list.Release(auditionId);
        return CAuditionClaim(nullptr, 0);
    }
    CAuditionClaim claim(&list, auditionId);
    claim.m_entry = list.m_entries[static_cast<size_t>(nIndex)];
    return claim;
}

CAuditionClaim::CAuditionClaim(CAuditionClaim&& other) noexcept
    : m_pList(other.m_pList), m_nAuditionId(other.m_nAuditionId),
      m_entry(std::move(other.m_entry)) {
    other.m_pList = nullptr;
}

CAuditionClaim::~CAuditionClaim() {
    if (!m_pList)
        return;
    CAuditionListLock lock(*m_pList);
    m_pList->Release(m_nAuditionId);
}

void CAuditionClaim::WriteBack() {
    CAuditionListLock lock(*m_pList);
    m_pList->UpdateEntry(m_entry);
}

void CAuditionClaim::WriteBackRunState() {
    CAuditionListLock lock(*m_pList);
    m_pList->UpdateRunState(m_entry);
}

void CAuditionClaim::Remove() {
    CAuditionListLock lock(*m_pList);
    m_pList->RemoveEntry(m_nAuditionId);
}
