// The shared list of audition entries, in load order. Every read hands out a
// copy and every write copies in; callers hold a CAuditionListLock around
// each operation or pass.
//
// One thread at a time uses an entry: a thread that checks an audition, stops
// it, changes it or releases its plug-in instance first claims the entry
// (CAuditionClaim). While a claim is held, every change of that entry by
// another thread waits until the claim is released; claims are held only for
// one entry's short work, so the wait is bounded.
#pragma once

#include "AuditionEntry.h"
#include "ListLock.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class CAuditionList {
public:
    int GetSize() const { return static_cast<int>(m_entries.size()); }
    // An invalid index is reported and yields a fresh entry.
    AuditionEntry GetAt(int nIndex) const;
    // Replace or remove the entry at the index once no other thread claims it.
    void SetAt(int nIndex, const AuditionEntry& entry);
    void RemoveAt(int nIndex);
    // Appends a new entry with the initial runtime values.
    void AddAudition(const DBAudition& definition);
    // Index of the first entry with this audition id, or -1.
    int FindIndex(int32_t auditionId) const;
    // Writes the entry back by its audition id once no other thread claims
    // it; dropped when the audition is gone.
    void UpdateEntry(const AuditionEntry& entry);
    // The same for the run state only: the definition, the notify plan and
    // the plug-in instance in the list stay as they are.
    void UpdateRunState(const AuditionEntry& entry);
    // Removes the first entry with the audition id once no other thread claims it.
    void RemoveEntry(int32_t auditionId);

private:
    friend class CListLock<CAuditionList>;
    friend class CAuditionClaim;

    void Lock() { m_lock.lock(); }
    void Unlock() { m_lock.unlock(); }
    bool IndexValid(int nIndex) const;
    bool IsClaimedByOther(int32_t auditionId) const;
    // Waits (with the lock released meanwhile) until no other thread claims the audition.
    void WaitUntilFree(int32_t auditionId);
    // Waits until the entry now at the index is free; false when the index is invalid.
    bool WaitUntilFreeAt(int nIndex);
    // Marks the audition as used by the calling thread; waits for another claim first.
    void Claim(int32_t auditionId);
    void Release(int32_t auditionId);

    struct ClaimRecord {
        int32_t AuditionId;
        std::thread::id Owner;
    };

    std::mutex m_lock; // not recursive: a claim waits on it
    std::condition_variable_any m_claimReleased;
    std::vector<AuditionEntry> m_entries;
    // The audition id of each entry, in the same order: a pass of 10,000
    // entries looks up each one by id, and the entries are large.
    std::vector<int32_t> m_ids;
    std::vector<ClaimRecord> m_claims;
};

using CAuditionListLock = CListLock<CAuditionList>;
