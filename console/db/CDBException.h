// An error of the database engine (SQLite) or of a value that the engine would
// refuse. It never leaves the database layer: every operation catches it,
// reports it and returns false.
#pragma once

#include <stdexcept>
#include <string>

class CDBException : public std::runtime_error {
public:
    explicit CDBException(const std::string& description, int nCode = 0)
        : std::runtime_error(description), m_nCode(nCode) {}

    // SQLite's primary result code, or 0 for an error found before the engine.
    int Code() const { return m_nCode; }

private:
    int m_nCode;
};
