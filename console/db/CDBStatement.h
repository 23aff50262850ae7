// One prepared SQLite statement, borrowed from its connection's cache for the
// duration of one use: resetting and clearing happen when it goes out of scope.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

class CDBStatement {
public:
    CDBStatement(sqlite3* pDB, sqlite3_stmt* pStmt, bool* pInUse);
    CDBStatement(CDBStatement&& other) noexcept;
    CDBStatement(const CDBStatement&) = delete;
    CDBStatement& operator=(const CDBStatement&) = delete;
    CDBStatement& operator=(CDBStatement&&) = delete;
    ~CDBStatement();

    // Parameters are numbered from 1.
    void BindInt(int nIndex, int64_t nValue);
    void BindText(int nIndex, const std::string& strValue);
    void BindNull(int nIndex);

    // True when a row is available, false when the statement is done.
    bool Step();
    // Runs a statement that returns no rows.
    void Execute();

    // Columns are numbered from 0; NULL reads as 0 or empty text.
    int64_t ColumnInt(int nColumn) const;
    std::string ColumnText(int nColumn) const;
    bool ColumnIsNull(int nColumn) const;

private:
    sqlite3* m_pDB;
    sqlite3_stmt* m_pStmt;
    bool* m_pInUse; // the cache's flag, cleared on destruction; null when not cached
    bool m_bOwned;  // a one-off statement finalised on destruction

    void Check(int nResult) const;

    friend class CDBConnection;
};
