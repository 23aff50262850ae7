#include "GlobalSettings.h"

#include "AppPaths.h"

void CGlobalSettings::SetDataDirectory(const std::string& directory) {
    std::lock_guard guard(m_lock);
    m_strDataDirectory = WithTrailingSeparator(directory);
}

void CGlobalSettings::SetProtocolFile(const std::string& file) {
    std::lock_guard guard(m_lock);
    m_strProtocolFile = file;
}

std::string CGlobalSettings::GetDataDirectory() const {
    std::lock_guard guard(m_lock);
    return m_strDataDirectory;
}

std::string CGlobalSettings::GetProtocolFile() const {
    std::lock_guard guard(m_lock);
    return m_strProtocolFile;
}

std::string CGlobalSettings::GetGlobalConfigFile() const {
    std::lock_guard guard(m_lock);
    return m_strDataDirectory + "TARN.CFG";
}

void CGlobalSettings::SetReactivate(bool reactivate) {
    std::lock_guard guard(m_lock);
    m_bReactivate = reactivate;
}

bool CGlobalSettings::GetReactivate() const {
    std::lock_guard guard(m_lock);
    return m_bReactivate;
}
