#include "Outbox.h"

#include "MessageStore.h"
#include "OutboxDraft.h"
#include "SubmitCommand.h"

#include <algorithm>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kOutboxFolder = "Outbox";
constexpr std::string_view kMessageSuffix = ".eml";
constexpr std::string_view kDraftPrefix = ".tmp-";
// A draft this old belongs to a caller that died while writing it.
constexpr time_t kStaleDraftSeconds = 24 * 60 * 60;

// The names in the folder, sorted.
std::vector<std::string> ListFolder(int directory) {
    std::vector<std::string> names;
    const int listing = ::openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return names;
    DIR* folder = ::fdopendir(listing);
    if (!folder) {
        ::close(listing);
        return names;
    }
    while (const dirent* entry = ::readdir(folder))
        names.emplace_back(entry->d_name);
    ::closedir(folder);
    std::sort(names.begin(), names.end());
    return names;
}

bool IsWaitingMessage(std::string_view name) {
    return !name.empty() && name.front() != '.' && name.size() > kMessageSuffix.size() &&
           name.ends_with(kMessageSuffix);
}

} // namespace

std::unique_ptr<COutbox> COutbox::Open(const CMessageStore& store) {
    const int directory = store.OpenFolder(kOutboxFolder);
    if (directory < 0)
        return nullptr;
    return std::unique_ptr<COutbox>(new COutbox(directory));
}

COutbox::~COutbox() {
    ::close(m_directory);
}

std::unique_ptr<COutboxDraft> COutbox::CreateDraft() const {
    auto draft = std::make_unique<COutboxDraft>(m_directory);
    if (!draft->Valid())
        return nullptr;
    return draft;
}

int COutbox::SubmitWaiting(const CSubmitCommand& command) const {
    RemoveStaleDrafts();
    int failed = 0;
    for (const std::string& name : ListFolder(m_directory)) {
        if (IsWaitingMessage(name) && !SubmitOne(name.c_str(), command))
            ++failed;
    }
    return failed;
}

// The lock keeps two callers on the same store from sending a message twice:
// whoever holds it submits; a file that is gone once the lock is ours was sent.
bool COutbox::SubmitOne(const char* name, const CSubmitCommand& command) const {
    const int file = ::openat(m_directory, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (file < 0)
        return true; // sent and removed by another caller meanwhile
    struct stat status {};
    bool ok = true;
    if (::flock(file, LOCK_EX | LOCK_NB) == 0 && ::fstat(file, &status) == 0 &&
        S_ISREG(status.st_mode) && status.st_nlink > 0) {
        ok = command.Submit(file);
        if (ok && ::unlinkat(m_directory, name, 0) == 0)
            ::fsync(m_directory);
    }
    ::close(file);
    return ok;
}

void COutbox::RemoveStaleDrafts() const {
    const time_t now = ::time(nullptr);
    for (const std::string& name : ListFolder(m_directory)) {
        struct stat status {};
        if (std::string_view(name).starts_with(kDraftPrefix) &&
            ::fstatat(m_directory, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode) && now - status.st_mtime > kStaleDraftSeconds)
            ::unlinkat(m_directory, name.c_str(), 0);
    }
}
