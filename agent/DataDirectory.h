// A directory of the shared data directory, used through its descriptor so
// that no name in it is ever followed as a link. Everything in it may have been
// put there by any agent: files are opened O_NOFOLLOW | O_NONBLOCK, only
// regular files are read, reads are bounded, and files that others give us to
// act on (command files) must belong to a trusted owner. The safe opening,
// reading and replacing are the shared CSafeDirectory's; this class adds the
// agent's owner rule, listing and locked opening.
#pragma once

#include "SafeDirectory.h"

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

class CDataDirectory {
public:
    // Opens the directory (a configured path: links in it are the site's
    // choice). Owners trusted for command files: root, the agent's own user and
    // the directory's owner (the console's account).
    static std::optional<CDataDirectory> Open(const std::string& path);

    // A directory inside this one, created (with the process's umask) when
    // missing; never a link.
    std::optional<CDataDirectory> OpenSubdirectory(const std::string& name) const;

    int Fd() const { return m_directory.Descriptor(); }
    const std::string& Path() const { return m_strPath; } // with a trailing "/"

    // Reads a regular file of at most maxBytes; false when missing, not regular,
    // too large, or (with trustedOnly) owned by someone not trusted.
    bool ReadFile(const std::string& name, size_t maxBytes, std::string& content,
                  bool trustedOnly = false) const;
    // Writes a temporary file beside the name and renames it over the name, so
    // that readers see the old or the new file whole. The new file takes the
    // mode of the file it replaces (mode for a new one, less the umask).
    bool WriteAtomically(const std::string& name, std::string_view content,
                         mode_t mode = 0666) const;
    bool Remove(const std::string& name) const;
    std::vector<std::string> List() const;

    // Opens a regular file (flags as for open, O_NOFOLLOW and O_NONBLOCK are
    // added) and takes an open-file-description write lock over the whole file,
    // retrying every 100 ms for attempts tries. The name must still name the
    // locked file afterwards (it may have been renamed over meanwhile): else it
    // starts again. -1 when it cannot.
    int OpenLocked(const std::string& name, int flags, int attempts) const;
    // Whether the name still names the file open as fd.
    bool NamesFile(const std::string& name, int fd) const;

private:
    CDataDirectory(CSafeDirectory directory, std::string path);
    bool IsTrustedOwner(uid_t owner) const;

    CSafeDirectory m_directory;
    std::string m_strPath;
    uid_t m_nOwner = 0;
};
