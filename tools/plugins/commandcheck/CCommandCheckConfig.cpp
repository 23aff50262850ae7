#include "CCommandCheckConfig.h"

#include "IniFile.h"

#include <algorithm>
#include <charconv>
#include <dlfcn.h>

namespace {

bool ParseFlag(const std::string& strValue) {
    return strValue == "1" || strValue == "yes" || strValue == "true" || strValue == "ja";
}

} // namespace

std::string CCommandCheckConfig::PluginFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&CCommandCheckConfig::PluginFolder), &info) == 0 ||
        !info.dli_fname)
        return {};
    std::string strLibrary = info.dli_fname;
    size_t nSlash = strLibrary.find_last_of('/');
    return nSlash == std::string::npos ? std::string() : strLibrary.substr(0, nSlash + 1);
}

std::string CCommandCheckConfig::FileName() {
    return PluginFolder() + "CommandCheck.ini";
}

std::string CCommandCheckConfig::SectionName(int32_t nAuditionID) {
    return "Audition " + std::to_string(nAuditionID);
}

CCommandCheckConfig CCommandCheckConfig::Read(int32_t nAuditionID) {
    return ReadFrom(FileName(), nAuditionID);
}

CCommandCheckConfig CCommandCheckConfig::ReadFrom(const std::string& strFile, int32_t nAuditionID) {
    CIniFile file = CIniFile::Load(strFile);
    const std::string strSection = SectionName(nAuditionID);
    CCommandCheckConfig config;
    config.Command = file.GetString(strSection, "Command");
    std::string strTimeout = file.GetString(strSection, "Timeout");
    int nTimeout = kDefaultTimeout;
    auto [end, error] =
        std::from_chars(strTimeout.data(), strTimeout.data() + strTimeout.size(), nTimeout);
    if (error != std::errc{} || end != strTimeout.data() + strTimeout.size())
        nTimeout = kDefaultTimeout;
    config.Timeout = std::clamp(nTimeout, 1, kMaximumTimeout);
    config.WarningIsError = ParseFlag(file.GetString(strSection, "WarningIsError"));
    config.UnknownIsError = ParseFlag(file.GetString(strSection, "UnknownIsError"));
    return config;
}

bool CCommandCheckConfig::WriteTo(const std::string& strFile, int32_t nAuditionID) const {
    const std::string strSection = SectionName(nAuditionID);
    return CIniFile::Update(strFile, [&](CIniFile& file) {
        return file.SetValue(strSection, "Command", Command) &&
               file.SetValue(strSection, "Timeout",
                             std::to_string(std::clamp(Timeout, 1, kMaximumTimeout))) &&
               file.SetValue(strSection, "WarningIsError", WarningIsError ? "1" : "0") &&
               file.SetValue(strSection, "UnknownIsError", UnknownIsError ? "1" : "0");
    });
}
