// The shared list of agent computers, in the order of first use. Names are
// compared case-sensitively and are unique because every insertion goes
// through FindOrAdd. The list only grows while the console runs. The by-name
// operations lock for themselves; a pass over the indexes holds a
// CComputerListLock, and never reads a file or writes an event line meanwhile.
#pragma once

#include "AgentComputer.h"
#include "ListLock.h"

#include <mutex>
#include <string>
#include <vector>

class CComputerList {
public:
    int GetSize() const { return static_cast<int>(m_computers.size()); }
    AgentComputer GetAt(int nIndex) const;
    void SetAt(int nIndex, const AgentComputer& computer);
    // Index of the record with exactly this name; a new record is appended when missing.
    int FindOrAdd(const std::string& name);
    AgentComputer GetAgentComputer(const std::string& name);

    void SetLogFile(const std::string& name, const std::string& text);
    void SetInfoFile(const std::string& name, const std::string& text);
    void SetDirectory(const std::string& name, const std::string& text);
    void CountAudition(const std::string& name);
    void SetActionTimedOut(const std::string& name, bool flag);
    void SetRestartPending(const std::string& name, bool flag);

private:
    friend class CListLock<CComputerList>;

    // Recursive, so that a pass holding the lock may call the by-name operations.
    void Lock() { m_lock.lock(); }
    void Unlock() { m_lock.unlock(); }
    bool IndexValid(int nIndex) const;
    template <typename Change> void Modify(const std::string& name, Change change);

    std::recursive_mutex m_lock;
    std::vector<AgentComputer> m_computers;
};

using CComputerListLock = CListLock<CComputerList>;
