// Binds the columns of one table to the members of one record type. Each
// binding class (CDBR... for the configuration file, CDBHR... for the history
// file) lists its table's columns once, in stored order; the SQL texts of the
// operations and the reading and writing of rows are derived from that list.
#pragma once

#include "CDBConnection.h"
#include "CDBException.h"
#include "CDBStatement.h"
#include "CDBTable.h"
#include "TextEncoding.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

// Number of characters (UTF-8 code points) of a text.
size_t DBCharacterCount(const std::string& strText);

template <class Rec> class CDBBinding : public CDBTable {
public:
    using Field = std::variant<std::monostate, int32_t Rec::*, int16_t Rec::*, bool Rec::*,
                               std::string Rec::*>;
    struct Column {
        DBColumnDef Def;
        Field Member; // monostate: a column the console neither reads nor writes
    };

    static Column AutoNumber(const char* name, int32_t Rec::*member) {
        return {{name, DBColumnType::AutoNumber, 0, ""}, member};
    }
    static Column Long(const char* name, int32_t Rec::*member, const char* def = "") {
        return {{name, DBColumnType::Long, 0, def}, member};
    }
    static Column Short(const char* name, int16_t Rec::*member, const char* def = "") {
        return {{name, DBColumnType::Short, 0, def}, member};
    }
    static Column Bool(const char* name, bool Rec::*member, const char* def = "") {
        return {{name, DBColumnType::Bool, 0, def}, member};
    }
    static Column Text(const char* name, std::string Rec::*member, int size = 255,
                       std::string def = "") {
        return {{name, DBColumnType::Text, size, std::move(def)}, member};
    }
    static Column Memo(const char* name, std::string Rec::*member) {
        return {{name, DBColumnType::Memo, 0, ""}, member};
    }
    static Column Unbound(DBColumnDef def) { return {std::move(def), std::monostate{}}; }

    CDBBinding(std::string strName, std::string strKeyColumn, DBIndexKind eIndex,
               std::initializer_list<Column> columns)
        : CDBTable(std::move(strName), std::move(strKeyColumn), eIndex, Definitions(columns)),
          m_columns(columns) {
        BuildSQL();
    }

    // "SELECT <bound columns> FROM <table>"; Read takes the columns in this order.
    const std::string& SelectSQL() const { return m_strSelect; }
    // SelectSQL + " WHERE <key> = ?".
    const std::string& SelectByKeySQL() const { return m_strSelectByKey; }
    // Every bound column except an AutoNumber key.
    const std::string& InsertSQL() const { return m_strInsert; }
    // Every bound column except the key, then the key as the last parameter.
    const std::string& UpdateByKeySQL() const { return m_strUpdateByKey; }
    // Every bound column of the table's first row (the one-row tables).
    const std::string& UpdateFirstRowSQL() const { return m_strUpdateFirst; }

    // Cuts every bound text to its column's limit, never inside a character.
    // For texts that the console composes or takes from agents: such a record
    // must not be lost for a long text. What an operator types is refused instead.
    void FitTexts(Rec& record) const {
        for (const Column& column : m_columns) {
            auto pText = std::get_if<std::string Rec::*>(&column.Member);
            if (pText && column.Def.Type == DBColumnType::Text)
                record.*(*pText) =
                    CutToCharacters(record.*(*pText), static_cast<size_t>(column.Def.Size));
        }
    }

    void Read(const CDBStatement& statement, Rec& record) const {
        int nColumn = 0;
        for (const Column& column : m_columns) {
            if (std::holds_alternative<std::monostate>(column.Member))
                continue;
            ReadColumn(statement, nColumn++, column.Member, record);
        }
    }

    void BindInsert(CDBStatement& statement, const Rec& record) const {
        int nParameter = 1;
        for (const Column& column : m_columns)
            if (IsWritten(column) && column.Def.Type != DBColumnType::AutoNumber)
                BindColumn(statement, nParameter++, column, record);
    }

    // Binds the values of UpdateByKeySQL and, when bKeyed, the key.
    void BindUpdate(CDBStatement& statement, const Rec& record, bool bKeyed, int64_t nKey) const {
        int nParameter = 1;
        for (const Column& column : m_columns)
            if (IsWritten(column) && !(bKeyed && column.Def.Name == KeyColumn()))
                BindColumn(statement, nParameter++, column, record);
        if (bKeyed)
            statement.BindInt(nParameter, nKey);
    }

    // ---- Row access on a connection; each throws CDBException on an engine error ----

    // Reads the row with the key; false when there is none.
    bool SelectByKey(CDBConnection& connection, int64_t nKey, Rec& record) const {
        CDBStatement statement = connection.Prepare(m_strSelectByKey);
        statement.BindInt(1, nKey);
        if (!statement.Step())
            return false;
        Read(statement, record);
        return true;
    }

    // Adds a row; returns its rowid, which is the key of an AutoNumber table.
    int64_t Insert(CDBConnection& connection, const Rec& record) const {
        CDBStatement statement = connection.Prepare(m_strInsert);
        BindInsert(statement, record);
        statement.Execute();
        return connection.LastInsertRowid();
    }

    // Changes the row with the key; false when there is none.
    bool UpdateByKey(CDBConnection& connection, int64_t nKey, const Rec& record) const {
        CDBStatement statement = connection.Prepare(m_strUpdateByKey);
        BindUpdate(statement, record, true, nKey);
        statement.Execute();
        return connection.Changes() > 0;
    }

    // Changes the first row; false when the table is empty.
    bool UpdateFirstRow(CDBConnection& connection, const Rec& record) const {
        CDBStatement statement = connection.Prepare(m_strUpdateFirst);
        BindUpdate(statement, record, false, 0);
        statement.Execute();
        return connection.Changes() > 0;
    }

    // Reads the first row; false when the table is empty.
    bool ReadFirstRow(CDBConnection& connection, Rec& record) const {
        CDBStatement statement = connection.Prepare(m_strSelect + " ORDER BY rowid LIMIT 1");
        if (!statement.Step())
            return false;
        Read(statement, record);
        return true;
    }

    int64_t CountRows(CDBConnection& connection) const {
        CDBStatement statement = connection.Prepare("SELECT COUNT(*) FROM " + Name());
        statement.Step();
        return statement.ColumnInt(0);
    }

private:
    std::vector<Column> m_columns;
    std::string m_strSelect, m_strSelectByKey, m_strInsert, m_strUpdateByKey, m_strUpdateFirst;

    static std::vector<DBColumnDef> Definitions(std::initializer_list<Column> columns) {
        std::vector<DBColumnDef> defs;
        for (const Column& column : columns)
            defs.push_back(column.Def);
        return defs;
    }

    static bool IsWritten(const Column& column) {
        return !std::holds_alternative<std::monostate>(column.Member);
    }

    void BuildSQL() {
        std::string strColumns, strInsertColumns, strPlaceholders, strSetAll, strSetOthers;
        for (const Column& column : m_columns) {
            if (!IsWritten(column))
                continue;
            const std::string& name = column.Def.Name;
            strColumns += (strColumns.empty() ? "" : ", ") + name;
            strSetAll += (strSetAll.empty() ? "" : ", ") + name + " = ?";
            if (name != KeyColumn())
                strSetOthers += (strSetOthers.empty() ? "" : ", ") + name + " = ?";
            if (column.Def.Type != DBColumnType::AutoNumber) {
                strPlaceholders += strPlaceholders.empty() ? "?" : ", ?";
                strInsertColumns += (strInsertColumns.empty() ? "" : ", ") + name;
            }
        }
        m_strSelect = "SELECT " + strColumns + " FROM " + Name();
        m_strSelectByKey = m_strSelect + " WHERE " + KeyColumn() + " = ?";
        m_strInsert = "INSERT INTO " + Name() + " (" + strInsertColumns + ") VALUES (" +
                      strPlaceholders + ")";
        m_strUpdateByKey =
            "UPDATE " + Name() + " SET " + strSetOthers + " WHERE " + KeyColumn() + " = ?";
        m_strUpdateFirst = "UPDATE " + Name() + " SET " + strSetAll +
                           " WHERE rowid = (SELECT MIN(rowid) FROM " + Name() + ")";
    }

    static void ReadColumn(const CDBStatement& statement, int nColumn, const Field& member,
                           Rec& record) {
        if (auto pLong = std::get_if<int32_t Rec::*>(&member))
            record.*(*pLong) = static_cast<int32_t>(statement.ColumnInt(nColumn));
        else if (auto pShort = std::get_if<int16_t Rec::*>(&member))
            record.*(*pShort) = static_cast<int16_t>(statement.ColumnInt(nColumn));
        else if (auto pBool = std::get_if<bool Rec::*>(&member))
            record.*(*pBool) = statement.ColumnInt(nColumn) != 0;
        else if (auto pText = std::get_if<std::string Rec::*>(&member))
            record.*(*pText) = statement.ColumnText(nColumn);
    }

    // Texts longer than their column's limit are refused, as a database that
    // enforces the limit would: the operation fails and nothing is written.
    void BindColumn(CDBStatement& statement, int nParameter, const Column& column,
                    const Rec& record) const {
        const Field& member = column.Member;
        if (auto pLong = std::get_if<int32_t Rec::*>(&member))
            statement.BindInt(nParameter, record.*(*pLong));
        else if (auto pShort = std::get_if<int16_t Rec::*>(&member))
            statement.BindInt(nParameter, record.*(*pShort));
        else if (auto pBool = std::get_if<bool Rec::*>(&member))
            statement.BindInt(nParameter, (record.*(*pBool)) ? 1 : 0);
        else if (auto pText = std::get_if<std::string Rec::*>(&member)) {
            const std::string& strValue = record.*(*pText);
            size_t nLength = column.Def.Type == DBColumnType::Text ? DBCharacterCount(strValue) : 0;
            if (nLength > static_cast<size_t>(column.Def.Size))
                throw CDBException("text too long for column " + Name() + "." + column.Def.Name +
                                   ": " + std::to_string(nLength) + " characters, at most " +
                                   std::to_string(column.Def.Size));
            statement.BindText(nParameter, strValue);
        }
    }
};
