// The local machine's registry kept as one INI file: a section per key path
// below HKEY_LOCAL_MACHINE, e.g. [SOFTWARE\velda\TARN!]. A key exists when its
// section exists; writers never create one unless asked. Read afresh at every access.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr const char* kTarnRegistryKey = "SOFTWARE\\velda\\TARN!";

class CRegistryFile {
public:
    // $TARN_REGISTRY, else the installation directory's "registry.ini".
    static std::string DefaultPath();

    explicit CRegistryFile(std::string path = DefaultPath());

    bool KeyExists(std::string_view key) const;
    // The value's text; a missing key or value reads as empty.
    std::string ReadString(std::string_view key, std::string_view value) const;
    // Write only where the key exists; false otherwise or on a file error.
    bool WriteString(std::string_view key, std::string_view value, std::string_view data) const;
    bool WriteDword(std::string_view key, std::string_view value, uint32_t data) const;
    // Creates the key (an empty section) when missing.
    bool CreateKey(std::string_view key) const;

    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};
