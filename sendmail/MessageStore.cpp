#include "MessageStore.h"

#include <fcntl.h>
#include <unistd.h>

std::unique_ptr<CMessageStore> CMessageStore::Open(const std::string& path) {
    if (path.empty())
        return nullptr;
    const int directory = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0)
        return nullptr;
    return std::unique_ptr<CMessageStore>(new CMessageStore(directory));
}

CMessageStore::~CMessageStore() {
    ::close(m_directory);
}

int CMessageStore::OpenFolder(const char* name) const {
    return ::openat(m_directory, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}
