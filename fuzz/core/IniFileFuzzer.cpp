// Feeds arbitrary bytes to the INI reader and writer. Checks that reading
// gives the file's bytes back unchanged, that a value written reads back, and
// that writing keeps every other line of the file as it was, in order.
#include "FuzzSupport.h"
#include "IniFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Lines without their line ends and trailing CRs: a last line without a line
// end gains one when a line is added after it.
std::vector<std::string_view> SplitAtNewlines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            std::string_view line = text.substr(start, i - start);
            while (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            lines.push_back(line);
            start = i + 1;
        }
    }
    return lines;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return text;
}

// Whether `after` holds every line of `before`, in order, with lines added.
bool OnlyLinesAdded(const std::vector<std::string_view>& before,
                    const std::vector<std::string_view>& after) {
    size_t j = 0;
    for (std::string_view line : before) {
        while (j < after.size() && after[j] != line)
            ++j;
        if (j++ == after.size())
            return false;
    }
    return true;
}

// Whether the two differ in one line at most, with no line added or removed.
bool OneLineReplaced(const std::vector<std::string_view>& before,
                     const std::vector<std::string_view>& after) {
    if (before.size() != after.size())
        return false;
    size_t differences = 0;
    for (size_t i = 0; i < before.size(); ++i)
        differences += before[i] != after[i];
    return differences <= 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string_view data(reinterpret_cast<const char*>(bytes), size);
    CIniFile ini = CIniFile::Parse(data);
    Require(ini.ToText() == data);
    std::optional<std::string> old = ini.GetValue("S", "K");
    ini.GetValue("Information", "TARNStartDate");

    Require(ini.SetValue("S", "K", "V"));
    std::string written = ini.ToText();
    CIniFile reread = CIniFile::Parse(written);
    Require(reread.ToText() == written);
    Require(reread.GetValue("s", "k") == std::optional<std::string>("V"));
    // An existing key's line is replaced in place; a new key adds at most a
    // blank line, a section header and its own line, and keeps every other line.
    auto before = SplitAtNewlines(WithoutByteOrderMark(data));
    auto after = SplitAtNewlines(WithoutByteOrderMark(written));
    if (old) {
        Require(OneLineReplaced(before, after));
    } else {
        Require(OnlyLinesAdded(before, after));
        Require(after.size() <= before.size() + 4); // + the piece after a new last line end
    }
    return 0;
}
