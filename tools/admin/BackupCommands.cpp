// tarn-admin backup and restore: a consistent copy of an installation
// ($TARN_HOME, else the program directory) taken while the console runs, and
// putting such a copy back while no console runs. The databases go through
// SQLite's online backup, so a copy never holds half a transaction; the
// registry file, the mail profiles and the Plugins folder are copied as files.
#include "AdminCommands.h"

#include "AppPaths.h"
#include "CDBRepair.h"
#include "InstallationUse.h"

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <sys/stat.h>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr const char* kDatabaseFiles[] = {"TARN.MDB", "HISTORY.MDB"};
constexpr const char* kPlainFiles[] = {"registry.ini", "mailprofiles.ini"};
constexpr const char* kPluginFolder = "Plugins";
// How long a copy waits for the console to finish a write before it gives up.
constexpr std::chrono::seconds kBusyPatience{30};

// Copies the database at strFrom into strTo (created or overwritten) in one
// step, so the copy is one consistent state of the source. A destination with
// a journal left by a crash is rolled back by SQLite before it is overwritten.
bool CopyDatabase(const std::string& strFrom, const std::string& strTo, std::string& strError) {
    sqlite3* pSource = nullptr;
    sqlite3* pTarget = nullptr;
    int nResult = sqlite3_open_v2(strFrom.c_str(), &pSource, SQLITE_OPEN_READONLY, nullptr);
    if (nResult == SQLITE_OK)
        nResult = sqlite3_open_v2(strTo.c_str(), &pTarget,
                                  SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (nResult == SQLITE_OK) {
        sqlite3_busy_timeout(pSource, 1000);
        sqlite3_busy_timeout(pTarget, 1000);
        sqlite3_backup* pBackup = sqlite3_backup_init(pTarget, "main", pSource, "main");
        if (pBackup) {
            const auto deadline = std::chrono::steady_clock::now() + kBusyPatience;
            do {
                nResult = sqlite3_backup_step(pBackup, -1);
                if (nResult == SQLITE_BUSY || nResult == SQLITE_LOCKED)
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
            } while ((nResult == SQLITE_BUSY || nResult == SQLITE_LOCKED) &&
                     std::chrono::steady_clock::now() < deadline);
            sqlite3_backup_finish(pBackup);
        }
        nResult = nResult == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(pTarget);
    }
    if (nResult != SQLITE_OK)
        strError = strFrom + " -> " + strTo + ": " +
                   (pTarget ? sqlite3_errmsg(pTarget) : sqlite3_errstr(nResult));
    sqlite3_close(pSource);
    sqlite3_close(pTarget);
    return nResult == SQLITE_OK;
}

bool IsRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() == fs::file_type::regular;
}

// Copies a regular file through a temporary name, so that a reader sees the
// old or the new file, never a part.
bool CopyPlainFile(const fs::path& from, const fs::path& to, std::string& strError) {
    std::error_code error;
    const fs::path temporary = to.string() + ".tmp";
    fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, error);
    if (!error)
        fs::rename(temporary, to, error);
    if (error) {
        fs::remove(temporary);
        strError = from.string() + " -> " + to.string() + ": " + error.message();
        return false;
    }
    return true;
}

// The regular files of the plug-in folder, one level: plug-ins are single
// library files. Links are left out.
bool CopyPluginFolder(const fs::path& from, const fs::path& to, std::string& strError) {
    std::error_code error;
    if (fs::symlink_status(from, error).type() != fs::file_type::directory)
        return true;
    fs::create_directories(to, error);
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        if (IsRegularFile(entry.path()) &&
            !CopyPlainFile(entry.path(), to / entry.path().filename(), strError))
            return false;
    }
    if (error)
        strError = from.string() + ": " + error.message();
    return !error;
}

bool CopyInstallation(const std::string& strFrom, const std::string& strTo, std::string& strError) {
    for (const char* pName : kDatabaseFiles)
        if (!CopyDatabase(strFrom + pName, strTo + pName, strError))
            return false;
    for (const char* pName : kPlainFiles)
        if (IsRegularFile(strFrom + pName) &&
            !CopyPlainFile(strFrom + pName, strTo + pName, strError))
            return false;
    return CopyPluginFolder(strFrom + kPluginFolder, strTo + kPluginFolder, strError);
}

// Both database files of a directory pass SQLite's integrity check.
bool CheckDatabases(const std::string& strDirectory) {
    bool bSound = true;
    for (const char* pName : kDatabaseFiles) {
        if (!CDBRepair::PassesIntegrityCheck(strDirectory + pName)) {
            std::cerr << "tarn-admin: " << strDirectory << pName
                      << " is missing or fails SQLite's integrity check\n";
            bSound = false;
        }
    }
    return bSound;
}

std::string DirectoryWithSeparator(const std::string& strArgument) {
    std::error_code error;
    return WithTrailingSeparator(fs::absolute(strArgument, error).lexically_normal().string());
}

int Backup(const std::string& strTarget) {
    const std::string strHome = GetInstallationDirectory();
    std::error_code error;
    if (fs::exists(fs::symlink_status(strTarget, error)) && !fs::is_empty(strTarget, error)) {
        std::cerr << "tarn-admin: " << strTarget << " is not empty; choose a new directory\n";
        return 1;
    }
    fs::create_directories(strTarget, error);
    // The copies hold the whole configuration: readable by this account only.
    if (error || ::chmod(strTarget.c_str(), 0700) != 0) {
        std::cerr << "tarn-admin: cannot create " << strTarget << "\n";
        return 1;
    }
    std::string strError;
    if (!CopyInstallation(strHome, strTarget, strError)) {
        std::cerr << "tarn-admin: backup failed: " << strError << "\n";
        return 1;
    }
    if (!CheckDatabases(strTarget))
        return 1;
    std::cout << "backup of " << strHome << " in " << strTarget << "\n";
    return 0;
}

int Restore(const std::string& strSource) {
    const std::string strHome = GetInstallationDirectory();
    if (!CheckDatabases(strSource)) {
        std::cerr << "tarn-admin: " << strSource
                  << " is not a usable backup; nothing was changed\n";
        return 1;
    }
    const std::string strUser = FindConsoleUsingInstallation(strHome);
    if (!strUser.empty()) {
        std::cerr << "tarn-admin: a console uses " << strHome << " (" << strUser
                  << "); stop it first (systemctl stop tarn)\n";
        return 1;
    }
    std::string strError;
    if (!CopyInstallation(strSource, strHome, strError)) {
        std::cerr << "tarn-admin: restore failed: " << strError << "\n";
        return 1;
    }
    std::cout << "restored " << strHome << " from " << strSource << "\n";
    return 0;
}

} // namespace

int RunBackup(const AdminArgs& args) {
    if (args.size() != 1) {
        std::cerr << "usage: tarn-admin backup DIR\n";
        return 2;
    }
    return Backup(DirectoryWithSeparator(args[0]));
}

int RunRestore(const AdminArgs& args) {
    if (args.size() != 1) {
        std::cerr << "usage: tarn-admin restore DIR\n";
        return 2;
    }
    return Restore(DirectoryWithSeparator(args[0]));
}
