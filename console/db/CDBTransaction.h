// A transaction on one connection that is rolled back unless committed, so an
// operation that fails half-way leaves nothing half-written. Built on a
// savepoint, so one operation may run inside another's transaction (a
// conversion step inside the conversion, a read inside a list read).
#pragma once

#include "CDBConnection.h"

class CDBTransaction {
public:
    explicit CDBTransaction(CDBConnection& connection) : m_connection(connection) {
        m_connection.Execute("SAVEPOINT tarn");
    }
    CDBTransaction(const CDBTransaction&) = delete;
    CDBTransaction& operator=(const CDBTransaction&) = delete;

    ~CDBTransaction() {
        // SQLite may already have rolled back after an I/O or full-disk error.
        if (!m_bCommitted && m_connection.InTransaction()) {
            try {
                m_connection.Execute("ROLLBACK TO tarn; RELEASE tarn");
            } catch (...) {
                // A failed rollback leaves the journal for the next open to undo.
            }
        }
    }

    void Commit() {
        m_connection.Execute("RELEASE tarn");
        m_bCommitted = true;
    }

private:
    CDBConnection& m_connection;
    bool m_bCommitted = false;
};
