// A SQLite VFS for fault tests that wraps the default one and can make files
// behave as write-protected or the disk as full, without privileges or a
// special file system. Installed as the default VFS of the test process.
#pragma once

#include <cstdint>

namespace FaultVfs {

// Registers the wrapper as the default VFS (once per process).
void Install();

// Files opened from now on whose path ends with the suffix are opened
// read-only, as the default VFS does for a write-protected file. Empty: none.
void SetReadOnlySuffix(const char* suffix);

// Files may grow by this many more bytes in all; a write that would grow a
// file beyond it fails with SQLITE_FULL. Negative = no limit.
void SetWriteBudget(int64_t bytes);

// Back to normal behaviour.
void Reset();

} // namespace FaultVfs
