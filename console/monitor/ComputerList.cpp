#include "ComputerList.h"

#include "LUTool.h"

bool CComputerList::IndexValid(int nIndex) const {
    bool valid = nIndex >= 0 && nIndex < GetSize();
    LUTool().Assert(valid, "IndexValid(nIndex)", "Index ungültig", __FILE__, __LINE__, 0);
    return valid;
}

AgentComputer CComputerList::GetAt(int nIndex) const {
    if (!IndexValid(nIndex))
        return AgentComputer{};
    return m_computers[static_cast<size_t>(nIndex)];
}

void CComputerList::SetAt(int nIndex, const AgentComputer& computer) {
    if (IndexValid(nIndex))
        m_computers[static_cast<size_t>(nIndex)] = computer;
}

int CComputerList::FindOrAdd(const std::string& name) {
    std::lock_guard guard(m_lock);
    for (size_t i = 0; i < m_computers.size(); ++i)
        if (m_computers[i].Name == name)
            return static_cast<int>(i);
    AgentComputer computer;
    computer.Name = name;
    m_computers.push_back(std::move(computer));
    return GetSize() - 1;
}

AgentComputer CComputerList::GetAgentComputer(const std::string& name) {
    std::lock_guard guard(m_lock);
    return m_computers[static_cast<size_t>(FindOrAdd(name))];
}

template <typename Change> void CComputerList::Modify(const std::string& name, Change change) {
    std::lock_guard guard(m_lock);
    change(m_computers[static_cast<size_t>(FindOrAdd(name))]);
}

void CComputerList::SetLogFile(const std::string& name, const std::string& text) {
    Modify(name, [&](AgentComputer& c) { c.LogFile = text; });
}

void CComputerList::SetInfoFile(const std::string& name, const std::string& text) {
    Modify(name, [&](AgentComputer& c) { c.InfoFile = text; });
}

void CComputerList::SetDirectory(const std::string& name, const std::string& text) {
    Modify(name, [&](AgentComputer& c) { c.Directory = text; });
}

void CComputerList::CountAudition(const std::string& name) {
    Modify(name, [](AgentComputer& c) { ++c.AuditionCount; });
}

void CComputerList::SetActionTimedOut(const std::string& name, bool flag) {
    Modify(name, [&](AgentComputer& c) { c.ActionTimedOut = flag; });
}

void CComputerList::SetRestartPending(const std::string& name, bool flag) {
    Modify(name, [&](AgentComputer& c) { c.RestartPending = flag; });
}
