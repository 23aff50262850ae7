// Files in directories that other accounts may write: the shared data
// directory (every agent), /tmp and /dev/shm (every local account), the
// runtime directory. Everything is reached from a directory descriptor, never
// through a symbolic link and never blocking on a FIFO or device: directories
// are opened with O_DIRECTORY | O_NOFOLLOW, files with O_NOFOLLOW | O_NONBLOCK,
// and only what fstat shows to be a regular file is used. Reads are bounded.
// New files are written under an O_EXCL temporary name and renamed into place,
// so that a link planted at the final name is replaced, never written through.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

// Larger agent files (information, result and configuration files) are not
// read: no real agent comes near it.
inline constexpr size_t kMaxAgentFileSize = 4u << 20;

enum class SafeFileStatus {
    Ok,
    Missing,    // no such name (or a directory on the way is missing)
    NotRegular, // a link, FIFO, device, socket or directory
    TooLarge,   // over the caller's size limit
    Error       // any other failure (permissions, I/O)
};

// A short German description of a status for warning lines ("kein reguläre Datei" ...).
std::string DescribeSafeFileStatus(SafeFileStatus status);

class CSafeDirectory {
public:
    CSafeDirectory() = default;
    ~CSafeDirectory();
    CSafeDirectory(CSafeDirectory&& other) noexcept;
    CSafeDirectory& operator=(CSafeDirectory&& other) noexcept;
    CSafeDirectory(const CSafeDirectory&) = delete;
    CSafeDirectory& operator=(const CSafeDirectory&) = delete;

    // A directory the operator configured (the data directory, the
    // installation directory): links in this path are followed.
    static CSafeDirectory OpenTrusted(const std::string& path);
    // The directory "path" below the trusted directory "base": path must begin
    // with base, and every name after it is reached without following a link.
    static CSafeDirectory OpenBelow(const std::string& base, const std::string& path);
    // A subdirectory of this one by a single name, never through a link.
    CSafeDirectory OpenChild(const std::string& name) const;

    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    SafeFileStatus Status() const { return m_status; }

    // Opens a regular file by a single name; access is O_RDONLY, O_WRONLY or
    // O_RDWR, optionally with O_CREAT (mode 0600 for a new file). The
    // descriptor returned is blocking again. fd is -1 unless the status is Ok.
    SafeFileStatus OpenFile(const std::string& name, int access, int& fd) const;
    // Reads a whole regular file of at most limit bytes.
    SafeFileStatus ReadFile(const std::string& name, size_t limit, std::string& content) const;
    // Replaces (or creates) the file atomically with the content: temporary
    // name with O_EXCL in this directory, fsync, then renameat over the name.
    // A regular file it replaces passes on its owner and permissions; a new
    // file gets mode (less the umask).
    bool ReplaceFile(const std::string& name, std::string_view content, mode_t mode = 0644) const;
    // Removes the name (whatever it is, except a directory); true when it is
    // gone afterwards.
    bool RemoveFile(const std::string& name) const;
    // What the name is without following it: Ok for a regular file.
    SafeFileStatus Inspect(const std::string& name) const;

private:
    explicit CSafeDirectory(int fd, SafeFileStatus status) : m_fd(fd), m_status(status) {}

    int m_fd = -1;
    SafeFileStatus m_status = SafeFileStatus::Missing;
};

// Splits a file path below the trusted directory base into the directory that
// holds it and its name; false when path does not lie below base or names
// "." or "..".
bool SplitPathBelow(const std::string& base, const std::string& path, std::string& directory,
                    std::string& name);
// Reads the file at path below base without following a link after base.
SafeFileStatus ReadFileBelow(const std::string& base, const std::string& path, size_t limit,
                             std::string& content);
// Opens the regular file at path like CSafeDirectory::OpenFile: the
// directories leading to it are trusted, its own name is never followed as a
// link and a FIFO does not block. fd is -1 unless the status is Ok.
SafeFileStatus OpenRegularFile(const std::string& path, int access, int& fd);
// Reads any regular file by its plain path (links followed: for files of the
// installation), without blocking on a FIFO and at most limit bytes.
SafeFileStatus ReadRegularFile(const std::string& path, size_t limit, std::string& content);
