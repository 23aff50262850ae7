#include "CDBTable.h"

#include "CDBBinding.h"
#include "CDBException.h"

namespace {

std::string DeclaredType(const DBColumnDef& column) {
    switch (column.Type) {
    case DBColumnType::Long:
        return "INTEGER";
    case DBColumnType::Short:
        return "SMALLINT";
    case DBColumnType::Bool:
        return "BOOLEAN";
    case DBColumnType::Text:
        return "VARCHAR(" + std::to_string(column.Size) + ")";
    case DBColumnType::Memo:
        return "TEXT";
    case DBColumnType::AutoNumber:
        return "INTEGER PRIMARY KEY AUTOINCREMENT";
    }
    return "INTEGER";
}

} // namespace

CDBTable::CDBTable(std::string strName, std::string strKeyColumn, DBIndexKind eIndex,
                   std::vector<DBColumnDef> columns)
    : m_strName(std::move(strName)), m_strKeyColumn(std::move(strKeyColumn)), m_eIndex(eIndex),
      m_columns(std::move(columns)) {}

const DBColumnDef* CDBTable::FindColumn(const std::string& strColumn) const {
    for (const DBColumnDef& column : m_columns)
        if (column.Name == strColumn)
            return &column;
    return nullptr;
}

std::string CDBTable::IndexName() const {
    return m_strName + "." + m_strKeyColumn;
}

std::string CDBTable::CreateIndexSQL() const {
    switch (m_eIndex) {
    case DBIndexKind::UniqueKey:
        return "CREATE UNIQUE INDEX \"" + IndexName() + "\" ON " + m_strName + " (" +
               m_strKeyColumn + ")";
    case DBIndexKind::OwnerSequence:
        return "CREATE INDEX \"" + IndexName() + "\" ON " + m_strName + " (" + m_strKeyColumn +
               ", SEQUENCE_NR)";
    case DBIndexKind::None:
        break;
    }
    return {};
}

void CDBTable::AddLookupIndex(std::vector<std::string> columnNames) {
    m_lookupIndexes.push_back(std::move(columnNames));
}

std::vector<std::string> CDBTable::CreateLookupIndexSQL() const {
    std::vector<std::string> statements;
    for (const auto& columnNames : m_lookupIndexes) {
        std::string strColumns;
        for (const std::string& name : columnNames)
            strColumns += (strColumns.empty() ? "" : ", ") + name;
        statements.push_back("CREATE INDEX \"" + m_strName + "." + columnNames.front() + "\" ON " +
                             m_strName + " (" + strColumns + ")");
    }
    return statements;
}

std::string CDBTable::ColumnSQL(const DBColumnDef& column) {
    std::string strSQL = "\"" + column.Name + "\" " + DeclaredType(column);
    if (!column.Default.empty())
        strSQL += " DEFAULT " + column.Default;
    return strSQL;
}

std::string CDBTable::CreateTableSQL() const {
    std::vector<std::string> names;
    for (const DBColumnDef& column : m_columns)
        names.push_back(column.Name);
    return CreateTableSQL(names);
}

std::string CDBTable::CreateTableSQL(const std::vector<std::string>& columnNames) const {
    std::string strSQL = "CREATE TABLE " + m_strName + " (";
    for (size_t i = 0; i < columnNames.size(); ++i) {
        const DBColumnDef* pColumn = FindColumn(columnNames[i]);
        if (!pColumn)
            throw CDBException("no column " + columnNames[i] + " in table " + m_strName);
        strSQL += (i ? ", " : "") + ColumnSQL(*pColumn);
    }
    return strSQL + ")";
}

size_t DBCharacterCount(const std::string& strText) {
    size_t nCount = 0;
    for (unsigned char c : strText)
        if ((c & 0xC0) != 0x80) // every byte but a UTF-8 continuation byte starts a character
            ++nCount;
    return nCount;
}
