// Feeds an arbitrary SQL script that builds a configuration file, as an older
// release (or a damaged or hostile copy) may have left it, to the start-up
// version check with its conversion, answering yes to the question. Only
// statements that build tables and rows are run, on a connection that can
// attach no other file, so the script never reaches beyond its own file.
// Checks that a conversion that lets the start go on leaves the file at the
// current version and that the next start then asks nothing; the records are
// read afterwards (a file with rows missing may give assertion reports and
// failed reads, as the delivered configuration reports them and goes on).
#include "CDBEngineTARN.h"
#include "CDBSchema.h"
#include "DBVersionCheck.h"
#include "FuzzSupport.h"
#include "LUTool.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sqlite3.h>
#include <string>
#include <unistd.h>

namespace {

class CQuietReporter : public IDBReporter {
public:
    void ReportError(const std::string&) override {}
    void BeginProgress(const std::string&, int) override {}
    void StepProgress(int) override {}
    void EndProgress() override {}
};

class CPrompt : public IDBVersionPrompt {
public:
    int questions = 0;
    void ShowError(const std::string&) override {}
    DBPromptAnswer AskYesNoCancel(const std::string&, const std::string&) override {
        ++questions;
        return DBPromptAnswer::Yes;
    }
};

std::string g_config;
std::string g_history;

// The statement's first word, in upper case, after blanks and comments.
std::string FirstWord(const char* sql) {
    for (;;) {
        while (std::isspace(static_cast<unsigned char>(*sql)))
            ++sql;
        if (sql[0] == '-' && sql[1] == '-') {
            while (*sql != '\0' && *sql != '\n')
                ++sql;
        } else if (sql[0] == '/' && sql[1] == '*') {
            const char* end = std::strstr(sql + 2, "*/");
            sql = end != nullptr ? end + 2 : sql + std::strlen(sql);
        } else {
            break;
        }
    }
    std::string word;
    while (std::isalpha(static_cast<unsigned char>(*sql)))
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(*sql++)));
    return word;
}

bool IsBuildingStatement(const std::string& word) {
    for (const char* allowed : {"CREATE", "INSERT", "UPDATE", "DELETE", "ALTER", "REPLACE", "DROP",
                                "BEGIN", "COMMIT", "END", "ROLLBACK"})
        if (word == allowed)
            return true;
    return false;
}

// Runs the script's building statements, one at a time, into a new file.
void BuildFile(const std::string& script) {
    ::unlink(g_config.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(g_config.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) == SQLITE_OK) {
        sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0); // also stops VACUUM INTO
        const char* rest = script.c_str();
        while (*rest != '\0') {
            sqlite3_stmt* statement = nullptr;
            const char* next = nullptr;
            if (sqlite3_prepare_v2(db, rest, -1, &statement, &next) != SQLITE_OK || next == rest) {
                sqlite3_finalize(statement);
                break;
            }
            if (statement != nullptr && IsBuildingStatement(FirstWord(rest))) {
                for (int rows = 0; rows < 1000 && sqlite3_step(statement) == SQLITE_ROW; ++rows) {
                }
            }
            sqlite3_finalize(statement);
            rest = next;
        }
    }
    sqlite3_close(db);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // As delivered: an assertion report does not stop the program.
    LUTool().SetOutputs(0);
    LUTool().SetAbortSeverity(UINT32_MAX);
    const std::string dir = FuzzScratchDirectory("/dev/shm");
    g_config = dir + "/TARN.MDB";
    g_history = dir + "/HISTORY.MDB";
    std::string error;
    CDBSchema::CreateHistoryFile(g_history, error);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string script(reinterpret_cast<const char*>(data), size);
    if (script.find('\0') != std::string::npos)
        return 0;
    BuildFile(script);
    CQuietReporter reporter;
    CDBEngineTARN engine(&reporter);
    engine.SetConversionPause(std::chrono::milliseconds(0));
    bool configOpened = false;
    bool historyOpened = false;
    if (!engine.Open(g_config, g_history, configOpened, historyOpened))
        return 0;
    CPrompt prompt;
    // A file that claims the current version is not converted: whatever it
    // lacks is not the conversion's doing.
    if (!CheckDatabaseVersions(engine, prompt, "TARN") || prompt.questions == 0)
        return 0;
    int32_t configVersion = 0;
    int32_t historyVersion = 0;
    engine.GetDBVersions(configVersion, historyVersion);
    Require(configVersion == CDBSchema::kConfigVersion);
    DBAuditionList auditions;
    engine.GetAllAuditions(auditions);
    DBNotificationList notifications;
    engine.GetAllNotifications(notifications);
    DBConfiguration configuration;
    engine.GetConfiguration(configuration);
    CPrompt again;
    Require(CheckDatabaseVersions(engine, again, "TARN"));
    Require(again.questions == 0);
    return 0;
}
