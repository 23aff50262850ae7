// Engineers: read CONTRIBUTING.md at the top of the tree before changing anything.
// INI files with the profile-string semantics the agents rely on: section and
// key names compared without case, first match wins, blanks around names and
// values trimmed, CR LF and LF line ends, a missing file reads as empty values,
// text that is not valid UTF-8 is read as Windows-1252 and converted.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CIniFile {
public:
    // Reads the whole file; a missing or unreadable file gives an empty one.
    static CIniFile Load(const std::string& path);

    bool Exists() const { return m_bExists; }
    bool HasSection(std::string_view section) const;
    // The value of the first matching key of the first matching section.
    std::optional<std::string> GetValue(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view fallback = "") const;

    // Sets a value, keeping every other line as it was. The section is
    // appended when missing.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Writes the file atomically (temporary file and rename).
    bool Save() const;

private:
    std::string m_strPath;
    bool m_bExists = false;
    std::vector<std::string> m_lines; // decoded to UTF-8, without line ends
    std::string m_strLineEnd = "\r\n";
};

// Convenience readers and writers working on the file afresh at each call.
std::string ReadProfileString(const std::string& file, std::string_view section,
                              std::string_view key, std::string_view fallback = "");
bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value);

// Numbered-key list "<listName>1", "<listName>2", ... of a section, stopping at the
// first missing or empty key. Returns false (and an empty list) when the file is missing.
bool ReadIniList(const std::string& file, std::string_view section, std::string_view listName,
                 std::vector<std::string>& list);
// Returns false when the value is missing or empty.
bool ReadIniValue(const std::string& file, std::string_view section, std::string_view key,
                  std::string& value);
