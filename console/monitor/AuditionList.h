// The shared list of audition entries, in load order. Every read hands out a
// copy and every write copies in; callers bracket operations with Lock/Unlock.
#pragma once

#include "AuditionEntry.h"

#include <mutex>
#include <vector>

class CAuditionList {
public:
    void Lock() { m_lock.lock(); }
    void Unlock() { m_lock.unlock(); }

    int GetSize() const { return static_cast<int>(m_entries.size()); }
    // An invalid index is reported and yields a fresh entry.
    AuditionEntry GetAt(int nIndex) const;
    void SetAt(int nIndex, const AuditionEntry& entry);
    void RemoveAt(int nIndex);
    // Appends a new entry with the initial runtime values.
    void AddAudition(const DBAudition& definition);
    // Index of the first entry with this audition id, or -1.
    int FindIndex(int32_t auditionId) const;
    // Writes the entry back by its audition id; dropped when the audition is gone.
    void UpdateEntry(const AuditionEntry& entry);

private:
    bool IndexValid(int nIndex) const;

    std::recursive_mutex m_lock;
    std::vector<AuditionEntry> m_entries;
};

// Holds the list's lock for a scope.
class CAuditionListLock {
public:
    explicit CAuditionListLock(CAuditionList& list) : m_list(list) { m_list.Lock(); }
    ~CAuditionListLock() { m_list.Unlock(); }
    CAuditionListLock(const CAuditionListLock&) = delete;
    CAuditionListLock& operator=(const CAuditionListLock&) = delete;

private:
    CAuditionList& m_list;
};
