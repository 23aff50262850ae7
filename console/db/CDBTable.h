// The schema of one table: its name, its columns in stored order with their
// types and defaults, its key column and its named index. The binding classes
// derive from it, so a table's column list is written once and serves for
// creating files, converting old ones and reading and writing rows.
#pragma once

#include <string>
#include <vector>

enum class DBColumnType {
    Long,       // 32-bit signed integer
    Short,      // 16-bit signed integer
    Bool,       // 0 = false, anything else = true
    Text,       // at most Size characters
    Memo,       // text without a limit
    AutoNumber, // key assigned by the database when a row is added
};

struct DBColumnDef {
    std::string Name;
    DBColumnType Type;
    int Size;            // character limit of a Text column, 0 otherwise
    std::string Default; // SQL literal of the column default; empty = none
};

enum class DBIndexKind {
    None,          // no index (the key of an AutoNumber table is its primary key)
    UniqueKey,     // unique index on the key column
    OwnerSequence, // non-unique index on the owner column, rows in SEQUENCE_NR order
};

class CDBTable {
public:
    CDBTable(std::string strName, std::string strKeyColumn, DBIndexKind eIndex,
             std::vector<DBColumnDef> columns);
    virtual ~CDBTable() = default;

    const std::string& Name() const { return m_strName; }
    // Empty for the one-row tables.
    const std::string& KeyColumn() const { return m_strKeyColumn; }
    DBIndexKind IndexKind() const { return m_eIndex; }
    const std::vector<DBColumnDef>& Columns() const { return m_columns; }
    const DBColumnDef* FindColumn(const std::string& strColumn) const;

    // The index is named like its column; SQLite's index names are unique per
    // file, so the table's name is put in front: "AUDITIONS_NET.AUDITION_ID".
    std::string IndexName() const;
    // CREATE INDEX statement; empty when the table has none.
    std::string CreateIndexSQL() const;
    // CREATE INDEX statements of the extra indexes that speed up lookups by a
    // column other than the key (named "<TABLE>.<first column>").
    std::vector<std::string> CreateLookupIndexSQL() const;
    // CREATE TABLE with every column, or with the named ones in the given order.
    std::string CreateTableSQL() const;
    std::string CreateTableSQL(const std::vector<std::string>& columnNames) const;

    // The column's declaration: quoted name, SQLite type, default.
    static std::string ColumnSQL(const DBColumnDef& column);

protected:
    void AddLookupIndex(std::vector<std::string> columnNames);

private:
    std::string m_strName;
    std::string m_strKeyColumn;
    DBIndexKind m_eIndex;
    std::vector<DBColumnDef> m_columns;
    std::vector<std::vector<std::string>> m_lookupIndexes;
};
