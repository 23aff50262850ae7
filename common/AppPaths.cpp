#include "AppPaths.h"

#include <cstdlib>
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
