// Where the system's files lie. Every directory is returned with a trailing "/".
#pragma once

#include <string>

// The directory of the running executable: programs, libraries, catalogues, help.
std::string GetProgramDirectory();
// What an installation owns and changes (databases, Plugins, registry.ini,
// mailprofiles.ini): $TARN_HOME, else the program directory.
std::string GetInstallationDirectory();
// Per-user runtime directory for sockets: $XDG_RUNTIME_DIR, else /tmp/tarn-<uid>/
// (created with mode 0700 when missing).
std::string GetRuntimeDirectory();
// Whether the runtime directory is safe for the gateway's socket and lock
// file: a directory, not a link, owned by this account, no access for others
// (another account may have created /tmp/tarn-<uid> first). Empty when it
// is; otherwise why not, for the start-up message.
std::string CheckRuntimeDirectory(const std::string& directory);
// Appends "/" unless the text already ends with one (or is empty).
std::string WithTrailingSeparator(std::string path);
