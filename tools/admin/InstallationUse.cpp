#include "InstallationUse.h"

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

bool HoldsOneOf(const fs::path& descriptors, const std::string& strConfig,
                const std::string& strHistory) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(descriptors, error)) {
        std::error_code linkError;
        const std::string strTarget = fs::read_symlink(entry.path(), linkError).string();
        if (strTarget == strConfig || strTarget == strHistory)
            return true;
    }
    return false;
}

} // namespace

std::string FindConsoleUsingInstallation(const std::string& strHome) {
    std::error_code error;
    const fs::path home = fs::weakly_canonical(strHome, error);
    const std::string strConfig = (home / "TARN.MDB").string();
    const std::string strHistory = (home / "HISTORY.MDB").string();
    const std::string strSelf = std::to_string(::getpid());
    for (const fs::directory_entry& process : fs::directory_iterator("/proc", error)) {
        const std::string strPid = process.path().filename().string();
        if (strPid.find_first_not_of("0123456789") != std::string::npos || strPid == strSelf)
            continue;
        if (HoldsOneOf(process.path() / "fd", strConfig, strHistory))
            return "process " + strPid;
    }
    return "";
}
