// A message store: a directory holding one folder per mailbox folder. Only the
// outbox ("Outbox") is used.
#pragma once

#include <memory>
#include <string>

class CMessageStore {
public:
    // Nothing when the directory cannot be opened.
    static std::unique_ptr<CMessageStore> Open(const std::string& path);
    ~CMessageStore();
    CMessageStore(const CMessageStore&) = delete;
    CMessageStore& operator=(const CMessageStore&) = delete;

    // The folder's directory opened for *at calls, or -1. The caller closes it.
    int OpenFolder(const char* name) const;

private:
    explicit CMessageStore(int directory) : m_directory(directory) {}
    int m_directory;
};
