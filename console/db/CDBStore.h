// Common ground of the operations on one database file: the connection, the
// reporter for engine errors, and the guard that turns an engine error into
// message 1019 naming the operation and the result false.
#pragma once

#include "CDBConnection.h"
#include "CDBException.h"
#include "CDBTransaction.h"
#include "DBAssert.h"
#include "DBMessages.h"
#include "IDBReporter.h"

#include <exception>
#include <initializer_list>
#include <string>
#include <vector>

class CDBStore {
public:
    CDBStore(CDBConnection& connection, IDBReporter& reporter)
        : m_connection(connection), m_reporter(reporter) {}

    CDBConnection& Connection() { return m_connection; }

    // DB_VERSION of the first row of A_SYSTEM; throws CDBException.
    static int32_t ReadDBVersion(CDBConnection& connection);

protected:
    CDBConnection& m_connection;
    IDBReporter& m_reporter;

    // Runs the body of the operation strOperation; an engine error inside is
    // reported once and makes the result false. A transaction the body began
    // is rolled back by its own destructor before the report.
    template <class Body> bool Guard(const char* strOperation, Body&& body) {
        try {
            return body();
        } catch (const std::exception& error) {
            ReportDBError(m_reporter, strOperation, error.what());
            return false;
        }
    }

    // Runs DELETE on each table in order, for the rows whose column equals
    // the key, in one transaction.
    void DeleteRows(const std::vector<std::string>& tables, const std::string& strColumn,
                    int64_t nKey);
    // Fills the list with the rows of the binding's table that match the
    // WHERE clause (with its integer parameters), in the order the table
    // delivers them. The rows are counted first and the list sized to that
    // count; a source with rows left over afterwards is an assertion report.
    template <class Binding, class Rec>
    void ReadAllRows(const Binding& binding, const std::string& strWhere,
                     std::initializer_list<int64_t> parameters, std::vector<Rec>& list,
                     const char* strEofCondition, const char* strDescription) {
        list.clear();
        CDBTransaction snapshot(m_connection);
        size_t nCount = 0;
        {
            CDBStatement count =
                m_connection.Prepare("SELECT COUNT(*) FROM " + binding.Name() + strWhere);
            BindAll(count, parameters);
            count.Step();
            nCount = static_cast<size_t>(count.ColumnInt(0));
        }
        list.resize(nCount);
        size_t nRead = 0;
        bool bRowLeft = true;
        {
            CDBStatement rows = m_connection.Prepare(binding.SelectSQL() + strWhere);
            BindAll(rows, parameters);
            while (nRead < nCount && (bRowLeft = rows.Step()))
                binding.Read(rows, list[nRead++]);
            if (bRowLeft)
                bRowLeft = rows.Step();
        }
        list.resize(nRead);
        DB_ASSERT(!bRowLeft && nRead == nCount, strEofCondition, strDescription);
        snapshot.Commit();
    }

    static void BindAll(CDBStatement& statement, std::initializer_list<int64_t> parameters) {
        int nIndex = 1;
        for (int64_t nValue : parameters)
            statement.BindInt(nIndex++, nValue);
    }

    // The first column of every row of a query with one integer parameter.
    std::vector<int32_t> SelectKeys(const std::string& strSQL, int64_t nParameter);
};
