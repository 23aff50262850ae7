#include "AppPaths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

std::string WithTrailingSeparator(std::string path) {
    if (!path.empty() && path.back() != '/')
        path.push_back('/');
    return path;
}

std::string GetProgramDirectory() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "./";
    return WithTrailingSeparator(exe.parent_path().string());
}

std::string GetInstallationDirectory() {
    const char* home = std::getenv("TARN_HOME");
    if (home && *home)
        return WithTrailingSeparator(home);
    return GetProgramDirectory();
}

std::string GetRuntimeDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return WithTrailingSeparator(runtime);
    std::string dir = "/tmp/tarn-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    return dir + "/";
}

std::string CheckRuntimeDirectory(const std::string& directory) {
    std::string path = directory;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return std::string("nicht vorhanden (") + std::strerror(errno) + ")";
    if (S_ISLNK(info.st_mode))
        return "eine symbolische Verknüpfung";
    if (!S_ISDIR(info.st_mode))
        return "kein Verzeichnis";
    if (info.st_uid != ::geteuid())
        return "gehört einem anderen Benutzer (uid " + std::to_string(info.st_uid) + ")";
    if ((info.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        return std::string("für andere Benutzer zugänglich (Modus ") + mode + ")";
    }
    return {};
}
