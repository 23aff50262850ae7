#include "RegistryFile.h"

#include "AppPaths.h"
#include "IniFile.h"

#include <cstdlib>

std::string CRegistryFile::DefaultPath() {
    const char* path = std::getenv("TARN_REGISTRY");
    if (path && *path)
        return path;
    return GetInstallationDirectory() + "registry.ini";
}

CRegistryFile::CRegistryFile(std::string path) : m_strPath(std::move(path)) {}

bool CRegistryFile::KeyExists(std::string_view key) const {
    return CIniFile::Load(m_strPath).HasSection(key);
}

std::string CRegistryFile::ReadString(std::string_view key, std::string_view value) const {
    return CIniFile::Load(m_strPath).GetString(key, value);
}

bool CRegistryFile::WriteString(std::string_view key, std::string_view value,
                                std::string_view data) const {
    return CIniFile::Update(m_strPath, [&](CIniFile& ini) {
        return ini.HasSection(key) && ini.SetValue(key, value, data);
    });
}

bool CRegistryFile::WriteDword(std::string_view key, std::string_view value, uint32_t data) const {
    return WriteString(key, value, std::to_string(data));
}

bool CRegistryFile::CreateKey(std::string_view key) const {
    bool existed = false;
    bool saved = CIniFile::Update(m_strPath, [&](CIniFile& ini) {
        existed = ini.HasSection(key);
        return !existed && ini.AddSection(key);
    });
    return existed || saved;
}
