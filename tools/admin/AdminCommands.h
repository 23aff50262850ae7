// tarn-admin: the command table.
//
// Each group of commands lives in its own source file in this folder (which
// CMake picks up by itself) and declares its entry points here. A command is
// made known by ONE line in kAdminCommands (AdminCommands.cpp):
//
//     {"init", "init [dir]  Create empty databases in the installation directory.", RunInit},
//
// A command function gets the arguments after the command word and returns
// the process exit code: 0 success, 1 failure, 2 wrong usage (print a line
// to stderr first). It writes its results to stdout, messages to stderr.
#pragma once

#include "InstallationLock.h"

#include <string>
#include <vector>

using AdminArgs = std::vector<std::string>;
using AdminCommandFunction = int (*)(const AdminArgs& args);

struct AdminCommand {
    const char* name;  // the command word
    const char* usage; // "name [args]  One-line description." for --help
    AdminCommandFunction run;
};

// The table, in the order --help lists it, and its size.
extern const AdminCommand kAdminCommands[];
extern const size_t kAdminCommandCount;

// Takes the installation's lock for a command that rewrites its databases;
// false, with a message naming the running console, when it is held.
bool LockInstallation(const std::string& strDirectory, CInstallationLock& lock);

// ---- Entry points, one block per source file -------------------------------

// StringsCommand.cpp
int RunStrings(const AdminArgs& args);

// PluginCommand.cpp
int RunPlugin(const AdminArgs& args);

// DatabaseCommands.cpp
int RunInit(const AdminArgs& args);
int RunConvert(const AdminArgs& args);
int RunCheck(const AdminArgs& args);

// DemoCommand.cpp
int RunDemo(const AdminArgs& args);

// AuditionCommand.cpp
int RunAudition(const AdminArgs& args);

// NotificationCommand.cpp
int RunNotification(const AdminArgs& args);

// ProfileCommand.cpp
int RunProfile(const AdminArgs& args);

// ServicesCommand.cpp
int RunServices(const AdminArgs& args);
int RunSettings(const AdminArgs& args);

// ProblemCommand.cpp
int RunProblems(const AdminArgs& args);
int RunEvents(const AdminArgs& args);
int RunProblem(const AdminArgs& args);

// ConfigFileCommand.cpp
int RunExport(const AdminArgs& args);
int RunImport(const AdminArgs& args);

// BackupCommands.cpp
int RunBackup(const AdminArgs& args);
int RunRestore(const AdminArgs& args);
