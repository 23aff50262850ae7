#include "MailProfile.h"

#include "AppPaths.h"
#include "IniFile.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr int kLongestSubmitTimeoutSeconds = 24 * 60 * 60;

// A path of the profiles file, taken relative to the file's own directory.
std::string ResolvePath(const std::string& profilesPath, const std::string& value) {
    if (value.empty())
        return value;
    std::filesystem::path path(value);
    if (path.is_absolute())
        return value;
    return (std::filesystem::path(profilesPath).parent_path() / path).string();
}

int ParseTimeout(const std::string& text) {
    int seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds <= 0)
        return CMailProfile::kDefaultSubmitTimeoutSeconds;
    return std::min(seconds, kLongestSubmitTimeoutSeconds);
}

} // namespace

std::string CMailProfile::ProfilesPath() {
    const char* path = std::getenv("TARN_MAIL_PROFILES");
    if (path && *path)
        return path;
    return GetInstallationDirectory() + "mailprofiles.ini";
}

std::unique_ptr<CMailProfile> CMailProfile::LogOn(const std::string& name,
                                                  const std::string& password) {
    const std::string path = ProfilesPath();
    const CIniFile ini = CIniFile::Load(path);
    if (name.empty() || !ini.HasSection(name))
        return nullptr;
    if (ini.GetString(name, "Password") != password)
        return nullptr;
    auto from = ParseMailbox(ini.GetString(name, "From"));
    if (!from || !IsMailAddress(from->address))
        return nullptr;

    auto profile = std::make_unique<CMailProfile>();
    profile->m_from = std::move(*from);
    profile->m_strStore = ResolvePath(path, ini.GetString(name, "Store"));
    profile->m_strAddressBook = ResolvePath(path, ini.GetString(name, "AddressBook"));
    profile->m_strSubmit = ini.GetString(name, "Submit");
    if (profile->m_strSubmit.empty())
        profile->m_strSubmit = kDefaultSubmit;
    profile->m_nSubmitTimeout = ParseTimeout(ini.GetString(name, "SubmitTimeout"));
    return profile;
}
