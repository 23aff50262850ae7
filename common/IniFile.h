// INI files with the profile-string semantics the agents rely on: section and
// key names compared without case (ASCII letters), first match wins, blanks
// around names and values trimmed, CR LF and LF line ends, a missing file reads
// as empty values, a UTF-8 byte order mark is skipped, and a line that is not
// valid UTF-8 is read as Windows-1252 and converted (line by line, so that a
// value written in UTF-8 into an old Windows-1252 file reads correctly too).
//
// Where names repeat, only the first section of a name is searched, and in it
// the first key of a name wins. Lines without "=" (and lines whose first
// non-blank character is ";") are not keys. Writing keeps every other line
// byte for byte, including its own line end; new lines take the file's line
// end (that of its first line, CR LF for a new file).
#pragma once

#include "SafeDirectory.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Larger INI files of the installation are read as unreadable.
inline constexpr size_t kMaxIniFileSize = 64u << 20;

class CIniFile {
public:
    // Reads the whole file; a missing or unreadable file (also one that is
    // not a regular file or is over kMaxIniFileSize) gives an empty one.
    static CIniFile Load(const std::string& path);
    // Reads a file that another account writes (an agent file): path lies
    // below the trusted directory base and is reached without following a
    // link after it; at most kMaxAgentFileSize bytes. The result has no path
    // (it cannot be saved); status says why it is empty.
    static CIniFile LoadBelow(const std::string& base, const std::string& path,
                              SafeFileStatus& status);
    // Reads file content already in memory; Save writes it to path.
    static CIniFile Parse(std::string_view content, std::string path = {});
    // Loads the file, applies the change and saves it when the change returns
    // true, serialised against every other Update of this process.
    static bool Update(const std::string& path, const std::function<bool(CIniFile&)>& change);

    bool Exists() const { return m_bExists; }
    bool HasSection(std::string_view section) const;
    // The value of the first matching key of the first matching section.
    std::optional<std::string> GetValue(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view fallback = "") const;
    // The numbered-key list "<listName>1", "<listName>2", ... of a section,
    // stopping at the first missing or empty key.
    std::vector<std::string> GetList(std::string_view section, std::string_view listName) const;

    // Sets a value, keeping every other line as it was. The section is
    // appended when missing. False (and nothing changed) when a name is empty
    // or a name or the value cannot be written on one line: a line break or
    // NUL anywhere, "]" in the section, "=" in the key, a key starting with
    // "[" or ";".
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the first matching key of the first matching section, keeping
    // every other line; false when there is no such key.
    bool RemoveKey(std::string_view section, std::string_view key);
    // Appends an empty section when missing; false for a name SetValue refuses.
    bool AddSection(std::string_view section);
    // The file's bytes as Save writes them.
    std::string ToText() const;
    // Writes the file atomically (temporary file in the same directory, then
    // rename), keeping the old file's permissions. Refuses to write when the
    // file existed but could not be read, so that nothing is lost.
    bool Save() const;

private:
    struct Line {
        std::string raw;  // the bytes as in the file, without the line end
        std::string end;  // "\r\n", "\n" or "" (last line without a line end)
        std::string text; // raw decoded to UTF-8
    };

    std::string m_strPath;
    bool m_bExists = false;
    bool m_bReadError = false;
    bool m_bByteOrderMark = false;
    std::vector<Line> m_lines;
    std::string m_strLineEnd = "\r\n";

    static CIniFile FromRead(SafeFileStatus status, std::string_view content, std::string path);
    std::optional<size_t> FindSection(std::string_view section) const;
    size_t SectionEnd(size_t header) const;
    std::optional<size_t> FindKey(size_t header, std::string_view key) const;
    void InsertLine(size_t index, std::string text);
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
