// The message ids of the code: named once in MessageIds.h, each with a text in
// the string table, and nowhere else defined.
#include "StringTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = TARN_SOURCE_DIR;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Name and id of every definition in the header.
std::multimap<unsigned, std::string> HeaderIds() {
    const std::string header = ReadFile(kSourceDir / "console/core/MessageIds.h");
    const std::regex definition(R"(inline constexpr unsigned (IDS_[A-Z0-9_]+) = (\d+);)");
    std::multimap<unsigned, std::string> ids;
    for (std::sregex_iterator it(header.begin(), header.end(), definition), end; it != end; ++it)
        ids.emplace(static_cast<unsigned>(std::stoul((*it)[2])), (*it)[1]);
    return ids;
}

TEST(MessageIds, EveryIdHasOneNameAndATextInTheTable) {
    const auto ids = HeaderIds();
    ASSERT_FALSE(ids.empty());
    std::map<unsigned, std::string> texts;
    for (auto& [id, text] : GetAllTarnStrings())
        texts[id] = text;
    for (auto& [id, name] : ids) {
        EXPECT_EQ(ids.count(id), 1u) << "id " << id << " has more than one name";
        EXPECT_TRUE(texts.count(id)) << name << " (" << id << ") has no text in the string table";
    }
}

// Code that names an id itself (a local constant or enumerator) instead of
// taking the header's name would let the same id drift under two names again.
TEST(MessageIds, NoSourceDefinesAnIdOfItsOwn) {
    const std::regex localDefinition(R"(\b(IDS_[A-Z0-9_]+)\s*=\s*\d+\s*[;,])");
    for (const char* folder : {"console", "tools", "common", "agent"}) {
        for (auto& entry : fs::recursive_directory_iterator(kSourceDir / folder)) {
            const auto extension = entry.path().extension();
            if (extension != ".cpp" && extension != ".h")
                continue;
            if (entry.path().filename() == "MessageIds.h")
                continue;
            const std::string text = ReadFile(entry.path());
            std::smatch match;
            EXPECT_FALSE(std::regex_search(text, match, localDefinition))
                << entry.path() << " defines " << match[1] << "; name it in MessageIds.h";
        }
    }
}

} // namespace
