// The calling thread's exclusive use of one entry of the audition list: while
// the claim lives, no other thread changes, stops or removes the entry, and
// its plug-in instance is called by this thread only. The claim holds a
// working copy of the entry; the list lock is held only inside the calls
// below, never while the holder checks, stops or calls the plug-in.
//
// Taking a claim waits while another thread holds one on the same audition.
// Never take a claim with the list lock held.
#pragma once

#include "AuditionList.h"

class CAuditionClaim {
public:
    // The entry at the index (the audition thread's pass); empty past the end.
    static CAuditionClaim AtIndex(CAuditionList& list, int nIndex);
    // The first entry with the audition id; empty when there is none.
    static CAuditionClaim OfAudition(CAuditionList& list, int32_t auditionId);

    CAuditionClaim(CAuditionClaim&& other) noexcept;
    CAuditionClaim& operator=(CAuditionClaim&&) = delete;
    CAuditionClaim(const CAuditionClaim&) = delete;
    // Releases the claim; other threads waiting for the entry go on.
    ~CAuditionClaim();

    explicit operator bool() const { return m_pList != nullptr; }
    // The working copy.
    AuditionEntry& Entry() { return m_entry; }

    // Writes the whole working copy back.
    void WriteBack();
    // Writes only the run state of the working copy back.
    void WriteBackRunState();
    // Removes the entry from the list; the claim stays until it is destroyed.
    void Remove();

private:
    CAuditionClaim(CAuditionList* list, int32_t auditionId)
        : m_pList(list), m_nAuditionId(auditionId) {}

    CAuditionList* m_pList; // null: nothing claimed
    int32_t m_nAuditionId;
    AuditionEntry m_entry;
};
