#include "StringTable.h"

#include "LUTool.h"
#include "StringTableData.h"

#include <map>
#include <mutex>
#include <shared_mutex>

namespace {

// The texts in force: the built-in table with the replacements applied.
// Readers share the lock; SetTarnString and ResetTarnStrings take it alone.
struct Table {
    std::shared_mutex lock;
    std::map<unsigned, std::string> texts;

    Table() { LoadBuiltin(); }

    void LoadBuiltin() {
        texts.clear();
        for (size_t i = 0; i < kTarnBuiltinStringCount; ++i) {
            const TarnBuiltinString& entry = kTarnBuiltinStrings[i];
            texts.emplace_hint(texts.end(), entry.id, std::string(entry.text, entry.length));
        }
    }
};

Table& TheTable() {
    // Never destroyed: texts may still be loaded while static objects of
    // other modules are torn down at exit.
    static Table* table = new Table;
    return *table;
}

} // namespace

std::string LoadTarnString(unsigned id) {
    Table& table = TheTable();
    {
        std::shared_lock guard(table.lock);
        auto found = table.texts.find(id);
        if (found != table.texts.end())
            return found->second;
    }
    // Reported outside the table lock; the report names the id.
    const std::string description = "String nicht gefunden (ID " + std::to_string(id) + ")";
    LUTool().Assert(false, "FALSE", description.c_str(), __FILE__, __LINE__, 0);
    return std::string();
}

void SetTarnString(unsigned id, std::string text) {
    Table& table = TheTable();
    std::unique_lock guard(table.lock);
    table.texts[id] = std::move(text);
}

std::vector<std::pair<unsigned, std::string>> GetAllTarnStrings() {
    Table& table = TheTable();
    std::shared_lock guard(table.lock);
    return {table.texts.begin(), table.texts.end()};
}

void ResetTarnStrings() {
    Table& table = TheTable();
    std::unique_lock guard(table.lock);
    table.LoadBuiltin();
}
