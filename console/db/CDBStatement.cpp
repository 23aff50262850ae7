#include "CDBStatement.h"

#include "CDBException.h"

#include <sqlite3.h>

CDBStatement::CDBStatement(sqlite3* pDB, sqlite3_stmt* pStmt, bool* pInUse)
    : m_pDB(pDB), m_pStmt(pStmt), m_pInUse(pInUse), m_bOwned(pInUse == nullptr) {
    if (m_pInUse)
        *m_pInUse = true;
}

CDBStatement::CDBStatement(CDBStatement&& other) noexcept
    : m_pDB(other.m_pDB), m_pStmt(other.m_pStmt), m_pInUse(other.m_pInUse),
      m_bOwned(other.m_bOwned) {
    other.m_pStmt = nullptr;
    other.m_pInUse = nullptr;
}

CDBStatement::~CDBStatement() {
    if (!m_pStmt)
        return;
    if (m_bOwned) {
        sqlite3_finalize(m_pStmt);
        return;
    }
    sqlite3_reset(m_pStmt);
    sqlite3_clear_bindings(m_pStmt);
    *m_pInUse = false;
}

void CDBStatement::Check(int nResult) const {
    if (nResult != SQLITE_OK)
        throw CDBException(sqlite3_errmsg(m_pDB), nResult & 0xff);
}

void CDBStatement::BindInt(int nIndex, int64_t nValue) {
    Check(sqlite3_bind_int64(m_pStmt, nIndex, nValue));
}

void CDBStatement::BindText(int nIndex, const std::string& strValue) {
    Check(sqlite3_bind_text(m_pStmt, nIndex, strValue.data(), static_cast<int>(strValue.size()),
                            SQLITE_TRANSIENT));
}

void CDBStatement::BindNull(int nIndex) {
    Check(sqlite3_bind_null(m_pStmt, nIndex));
}

bool CDBStatement::Step() {
    int nResult = sqlite3_step(m_pStmt);
    if (nResult == SQLITE_ROW)
        return true;
    if (nResult == SQLITE_DONE)
        return false;
    throw CDBException(sqlite3_errmsg(m_pDB), nResult & 0xff);
}

void CDBStatement::Execute() {
    while (Step()) {
    }
}

int64_t CDBStatement::ColumnInt(int nColumn) const {
    return sqlite3_column_int64(m_pStmt, nColumn);
}

std::string CDBStatement::ColumnText(int nColumn) const {
    const unsigned char* pText = sqlite3_column_text(m_pStmt, nColumn);
    if (!pText)
        return {};
    return std::string(reinterpret_cast<const char*>(pText),
                       static_cast<size_t>(sqlite3_column_bytes(m_pStmt, nColumn)));
}

bool CDBStatement::ColumnIsNull(int nColumn) const {
    return sqlite3_column_type(m_pStmt, nColumn) == SQLITE_NULL;
}
