// Holds the lock of a shared list (the audition list, the computer list) for
// a scope. The lists keep Lock and Unlock private and befriend this class, so
// that no lock is ever left taken on an early return or an exception.
#pragma once

template <class List> class CListLock {
public:
    explicit CListLock(List& list) : m_list(list) { m_list.Lock(); }
    ~CListLock() { m_list.Unlock(); }
    CListLock(const CListLock&) = delete;
    CListLock& operator=(const CListLock&) = delete;

private:
    List& m_list;
};
