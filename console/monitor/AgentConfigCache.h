// The global agent configuration (TARN.CFG) as every agent audition check asks
// for it: parsed once and kept, with the lists asked for, until the file at the
// path is another one or has changed (device, inode, size, modification or
// change time; a file changed in the last seconds is read at every call).
// Without it, each check of each pass would read and parse the
// whole file again.
#pragma once

#include "IniFile.h"
#include "SafeDirectory.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

class CAgentConfigCache {
public:
    // The list listName of section (see CIniFile::GetList) of the file at path;
    // status, when given, receives how the file was last read (a link, a FIFO or
    // an oversized file gives no lists).
    std::vector<std::string> GetList(const std::string& path, const std::string& section,
                                     const std::string& listName, SafeFileStatus* status = nullptr);

private:
    std::mutex m_mutex;
    std::string m_strPath;
    std::string m_strIdentity;             // of the file the lists were read from; empty: none
    CIniFile m_file = CIniFile::Parse(""); // the file, parsed once
    SafeFileStatus m_status = SafeFileStatus::Missing;
    std::map<std::string, std::vector<std::string>> m_lists; // by section and list name

    static std::string IdentityOf(const std::string& path);
};
