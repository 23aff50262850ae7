#include "CDBStore.h"

#include "CDBTransaction.h"

void CDBStore::DeleteRows(const std::vector<std::string>& tables, const std::string& strColumn,
                          int64_t nKey) {
    CDBTransaction transaction(m_connection);
    for (const std::string& strTable : tables) {
        CDBStatement statement =
            m_connection.Prepare("DELETE FROM " + strTable + " WHERE " + strColumn + " = ?");
        statement.BindInt(1, nKey);
        statement.Execute();
    }
    transaction.Commit();
}

std::vector<int32_t> CDBStore::SelectKeys(const std::string& strSQL, int64_t nParameter) {
    std::vector<int32_t> keys;
    CDBStatement statement = m_connection.Prepare(strSQL);
    statement.BindInt(1, nParameter);
    while (statement.Step())
        keys.push_back(static_cast<int32_t>(statement.ColumnInt(0)));
    return keys;
}

int32_t CDBStore::ReadDBVersion(CDBConnection& connection) {
    CDBStatement statement =
        connection.Prepare("SELECT DB_VERSION FROM A_SYSTEM ORDER BY rowid LIMIT 1");
    if (!statement.Step())
        throw CDBException("no current record in A_SYSTEM");
    return static_cast<int32_t>(statement.ColumnInt(0));
}
