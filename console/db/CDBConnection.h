// One open SQLite database file of the system. Prepared statements are kept in
// a cache keyed by their text, so a repeated operation costs no new parse.
// A connection is used by one thread only (the database thread, or a tool).
#pragma once

#include "CDBStatement.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

class CDBConnection {
public:
    // How long a statement waits for another process's lock before it fails
    // with "database is locked".
    static constexpr int kBusyTimeoutMs = 1000;

    // Opens an existing database file of the system for reading and writing
    // (reading only when the file is write-protected). Fails with the reason
    // for a missing file, a directory, a file that is not an SQLite database
    // and a database without the A_SYSTEM table (an empty file, say).
    static std::unique_ptr<CDBConnection> Open(const std::string& strPath, std::string& strError);
    // Creates a new database file; fails when anything exists at the path.
    static std::unique_ptr<CDBConnection> CreateNew(const std::string& strPath,
                                                    std::string& strError);

    ~CDBConnection();
    CDBConnection(const CDBConnection&) = delete;
    CDBConnection& operator=(const CDBConnection&) = delete;

    // A prepared statement from the cache; a statement whose text is already
    // in use further up the call chain is prepared afresh. Throws CDBException.
    CDBStatement Prepare(const std::string& strSQL);
    // Runs one or more statements that return no rows. Throws CDBException.
    void Execute(const std::string& strSQL);

    int64_t LastInsertRowid() const;
    int Changes() const;
    bool InTransaction() const;
    const std::string& Path() const { return m_strPath; }
    sqlite3* Handle() const { return m_pDB; }

private:
    struct CachedStatement {
        sqlite3_stmt* pStmt = nullptr;
        bool bInUse = false;
    };

    CDBConnection(sqlite3* pDB, std::string strPath);
    static std::unique_ptr<CDBConnection> OpenHandle(const std::string& strPath, int nFlags,
                                                     std::string& strError);

    sqlite3* m_pDB;
    std::string m_strPath;
    std::unordered_map<std::string, std::unique_ptr<CachedStatement>> m_cache;
};
