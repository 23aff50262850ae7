// Brings a configuration file of an older release (version 3 to 9) up to the
// current version, one version step at a time, all steps in one transaction:
// a failure anywhere rolls every step back and the file keeps its old
// version and schema (SQLite changes schemas transactionally).
//
// The added columns take their type, size and default from the binding
// classes, so a converted file has the same columns as a new one.
#pragma once

#include "CDBConfigStore.h"
#include "CDBTable.h"
#include "IDBReporter.h"

#include <chrono>
#include <string>
#include <vector>

class CDBConverter {
public:
    static constexpr int32_t kOldestConvertibleVersion = 3;

    // nPause: the wait before the first step and before each step, so that
    // the progress window can be read (one second in the console).
    CDBConverter(CDBConfigStore& store, IDBReporter& reporter, std::chrono::milliseconds pause);

    // Converts to nTargetVersion (at most the current version). An engine
    // error is reported as message 1019 naming "ConvertDatabase"; a missing
    // step fails without a message.
    bool ConvertDatabase(int32_t nTargetVersion);

    // Schema operations: true on success, false after an engine error (the
    // first error's text is kept for the report).
    bool AddColumn(const CDBTable& table, const std::string& strColumn);
    bool AddTable(const CDBTable& table, const std::vector<std::string>& columns);
    bool AddEmptyRow(const CDBTable& table);
    bool AddPrimaryIndex(const CDBTable& table);
    bool ExecuteSQL(const std::string& strSQL);

private:
    CDBConfigStore& m_store;
    IDBReporter& m_reporter;
    std::chrono::milliseconds m_pause;
    std::string m_strError;

    // The step from nVersion to nVersion + 1; false when there is none.
    bool RunStep(int32_t nVersion);
    bool RunSteps(int32_t nCurrent, int32_t nTargetVersion);
    void Pause() const;
};
