#include "AgentConfigCache.h"

#include "AgentExchange.h"

#include <ctime>
#include <sys/stat.h>

// Of the name itself, never of what a link planted there points to (such a
// name is read as no file). Time stamps advance in coarse ticks, so a file
// changed within the last seconds could change again unseen: it has no
// identity and is read anew at every call.
std::string CAgentConfigCache::IdentityOf(const std::string& path) {
    constexpr std::time_t kSettledSeconds = 2;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return "missing";
    if (info.st_mtim.tv_sec + kSettledSeconds >= std::time(nullptr))
        return {};
    return std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino) + ':' +
           std::to_string(info.st_size) + ':' + std::to_string(info.st_mtim.tv_sec) + '.' +
           std::to_string(info.st_mtim.tv_nsec) + ':' + std::to_string(info.st_ctim.tv_sec) + '.' +
           std::to_string(info.st_ctim.tv_nsec);
}

std::vector<std::string> CAgentConfigCache::GetList(const std::string& path,
                                                    const std::string& section,
                                                    const std::string& listName,
                                                    SafeFileStatus* status) {
    const std::string identity = IdentityOf(path);
    std::lock_guard guard(m_mutex);
    if (path != m_strPath || identity != m_strIdentity || identity.empty()) {
        m_strPath = path;
        m_strIdentity = identity;
        m_lists.clear();
        m_file = LoadAgentConfig(path, m_status); // not a regular file or too large: no lists
    }
    if (status)
        *status = m_status;
    const std::string key = section + '\n' + listName;
    auto found = m_lists.find(key);
    if (found == m_lists.end())
        found = m_lists.emplace(key, m_file.GetList(section, listName)).first;
    return found->second;
}
