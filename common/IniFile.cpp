#include "IniFile.h"

#include "SafeDirectory.h"
#include "TextEncoding.h"

#include <climits>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct KeyLine {
    std::string_view name;
    std::string_view value;
    size_t valueOffset; // where the value's text (after "=" and its blanks) begins
};

std::optional<std::string_view> ParseSectionHeader(std::string_view text) {
    std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    size_t close = trimmed.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return TrimBlanks(trimmed.substr(1, close - 1));
}

std::optional<KeyLine> ParseKeyLine(std::string_view text) {
    std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[')
        return std::nullopt;
    size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    std::string_view name = TrimBlanks(text.substr(0, equals));
    if (name.empty())
        return std::nullopt;
    size_t valueOffset = equals + 1;
    while (valueOffset < text.size() && IsBlank(text[valueOffset]))
        ++valueOffset;
    return KeyLine{name, TrimBlanks(text.substr(equals + 1)), valueOffset};
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsWritableSection(std::string_view section) {
    return !TrimBlanks(section).empty() && !HasLineBreakOrNul(section) &&
           section.find(']') == std::string_view::npos;
}

bool IsWritableKey(std::string_view key) {
    std::string_view trimmed = TrimBlanks(key);
    return !trimmed.empty() && !HasLineBreakOrNul(key) && key.find('=') == std::string_view::npos &&
           trimmed.front() != '[' && trimmed.front() != ';';
}

bool IsBlankLine(std::string_view text) {
    return TrimBlanks(text).empty();
}

// A symbolic link is followed, so that the link stays and its target changes.
std::string ResolveTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    return path;
}

std::mutex& UpdateLock() {
    static std::mutex lock;
    return lock;
}

} // namespace

CIniFile CIniFile::Parse(std::string_view content, std::string path) {
    CIniFile file;
    file.m_strPath = std::move(path);
    file.m_bExists = true;
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        file.m_bByteOrderMark = true;
        content.remove_prefix(kByteOrderMark.size());
    }
    bool lineEndKnown = false;
    while (!content.empty()) {
        size_t newline = content.find('\n');
        Line line;
        if (newline == std::string_view::npos) {
            line.raw = std::string(content);
            content = {};
        } else {
            bool crlf = newline > 0 && content[newline - 1] == '\r';
            line.raw = std::string(content.substr(0, crlf ? newline - 1 : newline));
            line.end = crlf ? "\r\n" : "\n";
            content.remove_prefix(newline + 1);
            if (!lineEndKnown) {
                file.m_strLineEnd = line.end;
                lineEndKnown = true;
            }
        }
        line.text = DecodeExternalText(line.raw);
        file.m_lines.push_back(std::move(line));
    }
    return file;
}

CIniFile CIniFile::FromRead(SafeFileStatus status, std::string_view content, std::string path) {
    if (status == SafeFileStatus::Ok)
        return Parse(content, std::move(path));
    CIniFile file;
    file.m_strPath = std::move(path);
    file.m_bReadError = status != SafeFileStatus::Missing;
    return file;
}

CIniFile CIniFile::Load(const std::string& path) {
    std::string content;
    const SafeFileStatus status = ReadRegularFile(path, kMaxIniFileSize, content);
    return FromRead(status, content, path);
}

CIniFile CIniFile::LoadBelow(const std::string& base, const std::string& path,
                             SafeFileStatus& status) {
    std::string content;
    status = ReadFileBelow(base, path, kMaxAgentFileSize, content);
    CIniFile file = FromRead(status, content, {});
    return file;
}

bool CIniFile::Update(const std::string& path, const std::function<bool(CIniFile&)>& change) {
    std::lock_guard guard(UpdateLock());
    CIniFile file = Load(path);
    if (!change(file))
        return false;
    return file.Save();
}

std::optional<size_t> CIniFile::FindSection(std::string_view section) const {
    std::string_view wanted = TrimBlanks(section);
    for (size_t i = 0; i < m_lines.size(); ++i) {
        auto name = ParseSectionHeader(m_lines[i].text);
        if (name && EqualsNoCase(*name, wanted))
            return i;
    }
    return std::nullopt;
}

size_t CIniFile::SectionEnd(size_t header) const {
    for (size_t i = header + 1; i < m_lines.size(); ++i) {
        if (ParseSectionHeader(m_lines[i].text))
            return i;
    }
    return m_lines.size();
}

std::optional<size_t> CIniFile::FindKey(size_t header, std::string_view key) const {
    std::string_view wanted = TrimBlanks(key);
    size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        auto line = ParseKeyLine(m_lines[i].text);
        if (line && EqualsNoCase(line->name, wanted))
            return i;
    }
    return std::nullopt;
}

bool CIniFile::HasSection(std::string_view section) const {
    return FindSection(section).has_value();
}

std::optional<std::string> CIniFile::GetValue(std::string_view section,
                                              std::string_view key) const {
    auto header = FindSection(section);
    if (!header)
        return std::nullopt;
    auto index = FindKey(*header, key);
    if (!index)
        return std::nullopt;
    return std::string(ParseKeyLine(m_lines[*index].text)->value);
}

std::string CIniFile::GetString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    auto value = GetValue(section, key);
    return value ? *value : std::string(fallback);
}

void CIniFile::InsertLine(size_t index, std::string text) {
    // The line before a new last line needs a line end of its own.
    if (index == m_lines.size() && index > 0 && m_lines[index - 1].end.empty())
        m_lines[index - 1].end = m_strLineEnd;
    Line line{text, m_strLineEnd, text};
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
}

bool CIniFile::AddSection(std::string_view section) {
    if (!IsWritableSection(section))
        return false;
    if (HasSection(section))
        return true;
    if (!m_lines.empty() && !IsBlankLine(m_lines.back().text))
        InsertLine(m_lines.size(), "");
    InsertLine(m_lines.size(), "[" + std::string(TrimBlanks(section)) + "]");
    return true;
}

bool CIniFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsWritableSection(section) || !IsWritableKey(key) || HasLineBreakOrNul(value))
        return false;
    AddSection(section);
    size_t header = *FindSection(section);
    std::string_view newValue = TrimBlanks(value);
    if (auto index = FindKey(header, key)) {
        // Keep the key's spelling and the blanks around "=", replace the value.
        Line& line = m_lines[*index];
        std::string text = line.text.substr(0, ParseKeyLine(line.text)->valueOffset);
        text += newValue;
        line.raw = text;
        line.text = std::move(text);
        return true;
    }
    size_t insertAt = SectionEnd(header);
    while (insertAt > header + 1 && IsBlankLine(m_lines[insertAt - 1].text))
        --insertAt;
    InsertLine(insertAt, std::string(TrimBlanks(key)) + "=" + std::string(newValue));
    return true;
}

bool CIniFile::RemoveKey(std::string_view section, std::string_view key) {
    auto header = FindSection(section);
    if (!header)
        return false;
    auto index = FindKey(*header, key);
    if (!index)
        return false;
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*index));
    return true;
}

std::string CIniFile::ToText() const {
    std::string text;
    if (m_bByteOrderMark)
        text += kByteOrderMark;
    for (const Line& line : m_lines) {
        text += line.raw;
        text += line.end;
    }
    return text;
}

bool CIniFile::Save() const {
    if (m_bReadError || m_strPath.empty())
        return false;
    const std::string target = ResolveTarget(m_strPath);
    const size_t slash = target.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    return CSafeDirectory::OpenTrusted(directory).ReplaceFile(target.substr(slash + 1), ToText(),
                                                              0666);
}

std::string ReadProfileString(const std::string& file, std::string_view section,
                              std::string_view key, std::string_view fallback) {
    return CIniFile::Load(file).GetString(section, key, fallback);
}

bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value) {
    return CIniFile::Update(file, [&](CIniFile& ini) { return ini.SetValue(section, key, value); });
}

namespace {

// The number of a list key "<listName><n>" (n without leading zeros, as the
// list reader asks for it); 0 when the key is no list key.
unsigned long ListKeyNumber(std::string_view name, std::string_view listName) {
    if (name.size() <= listName.size() || name.size() > listName.size() + 9 ||
        !EqualsNoCase(name.substr(0, listName.size()), listName))
        return 0;
    std::string_view digits = name.substr(listName.size());
    if (digits.front() == '0' || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    return std::stoul(std::string(digits));
}

} // namespace

// One pass over the section, so that long lists read in linear time.
std::vector<std::string> CIniFile::GetList(std::string_view section,
                                           std::string_view listName) const {
    std::vector<std::string> list;
    auto header = FindSection(section);
    if (!header)
        return list;
    std::unordered_map<unsigned long, std::string_view> values; // the first key of a number wins
    const size_t end = SectionEnd(*header);
    for (size_t i = *header + 1; i < end; ++i) {
        auto line = ParseKeyLine(m_lines[i].text);
        if (!line)
            continue;
        if (unsigned long number = ListKeyNumber(line->name, TrimBlanks(listName)); number != 0)
            values.try_emplace(number, line->value);
    }
    for (unsigned long number = 1;; ++number) {
        auto value = values.find(number);
        if (value == values.end() || value->second.empty())
            break;
        list.emplace_back(value->second);
    }
    return list;
}

bool ReadIniList(const std::string& file, std::string_view section, std::string_view listName,
                 std::vector<std::string>& list) {
    CIniFile ini = CIniFile::Load(file);
    list = ini.GetList(section, listName);
    return ini.Exists();
}

bool ReadIniValue(const std::string& file, std::string_view section, std::string_view key,
                  std::string& value) {
    value = CIniFile::Load(file).GetString(section, key);
    return !value.empty();
}
