#include "CDBConnection.h"

#include "CDBException.h"

#include <cerrno>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

CDBConnection::CDBConnection(sqlite3* pDB, std::string strPath)
    : m_pDB(pDB), m_strPath(std::move(strPath)) {}

CDBConnection::~CDBConnection() {
    for (auto& entry : m_cache)
        sqlite3_finalize(entry.second->pStmt);
    sqlite3_close_v2(m_pDB);
}

std::unique_ptr<CDBConnection> CDBConnection::OpenHandle(const std::string& strPath, int nFlags,
                                                         std::string& strError) {
    sqlite3* pDB = nullptr;
    int nResult = sqlite3_open_v2(strPath.c_str(), &pDB, nFlags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (nResult != SQLITE_OK) {
        strError = pDB ? sqlite3_errmsg(pDB) : sqlite3_errstr(nResult);
        sqlite3_close_v2(pDB);
        return nullptr;
    }
    sqlite3_busy_timeout(pDB, kBusyTimeoutMs);
    sqlite3_extended_result_codes(pDB, 0);
    return std::unique_ptr<CDBConnection>(new CDBConnection(pDB, strPath));
}

std::unique_ptr<CDBConnection> CDBConnection::Open(const std::string& strPath,
                                                   std::string& strError) {
    auto pConnection = OpenHandle(strPath, SQLITE_OPEN_READWRITE, strError);
    if (!pConnection)
        return nullptr;
    // SQLite reads a file lazily: only a first query shows whether it is a
    // database at all, and an empty file is an empty database.
    try {
        CDBStatement probe = pConnection->Prepare(
            "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'A_SYSTEM'");
        if (!probe.Step() || probe.ColumnInt(0) != 1) {
            strError = "no A_SYSTEM table: not a database of this system";
            return nullptr;
        }
    } catch (const CDBException& error) {
        strError = error.what();
        return nullptr;
    }
    return pConnection;
}

std::unique_ptr<CDBConnection> CDBConnection::CreateNew(const std::string& strPath,
                                                        std::string& strError) {
    // O_EXCL makes the refusal to overwrite race-free; SQLite then takes the
    // empty file as a new database.
    int fd = ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        strError = errno == EEXIST ? "file exists" : "cannot create the file";
        return nullptr;
    }
    ::close(fd);
    auto pConnection = OpenHandle(strPath, SQLITE_OPEN_READWRITE, strError);
    if (!pConnection)
        ::unlink(strPath.c_str());
    return pConnection;
}

CDBStatement CDBConnection::Prepare(const std::string& strSQL) {
    auto& pEntry = m_cache[strSQL];
    if (!pEntry)
        pEntry = std::make_unique<CachedStatement>();
    bool bCacheIt = !pEntry->bInUse;
    if (bCacheIt && pEntry->pStmt)
        return CDBStatement(m_pDB, pEntry->pStmt, &pEntry->bInUse);
    sqlite3_stmt* pStmt = nullptr;
    int nResult = sqlite3_prepare_v3(m_pDB, strSQL.c_str(), static_cast<int>(strSQL.size()),
                                     bCacheIt ? SQLITE_PREPARE_PERSISTENT : 0, &pStmt, nullptr);
    if (nResult != SQLITE_OK) {
        sqlite3_finalize(pStmt);
        throw CDBException(sqlite3_errmsg(m_pDB), nResult & 0xff);
    }
    if (!bCacheIt)
        return CDBStatement(m_pDB, pStmt, nullptr);
    pEntry->pStmt = pStmt;
    return CDBStatement(m_pDB, pStmt, &pEntry->bInUse);
}

void CDBConnection::Execute(const std::string& strSQL) {
    char* pMessage = nullptr;
    int nResult = sqlite3_exec(m_pDB, strSQL.c_str(), nullptr, nullptr, &pMessage);
    if (nResult != SQLITE_OK) {
        std::string strMessage = pMessage ? pMessage : sqlite3_errstr(nResult);
        sqlite3_free(pMessage);
        throw CDBException(strMessage, nResult & 0xff);
    }
}

int64_t CDBConnection::LastInsertRowid() const {
    return sqlite3_last_insert_rowid(m_pDB);
}

int CDBConnection::Changes() const {
    return sqlite3_changes(m_pDB);
}

bool CDBConnection::InTransaction() const {
    return sqlite3_get_autocommit(m_pDB) == 0;
}
