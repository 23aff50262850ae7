// The operations on the history file "HISTORY.MDB": problems and their
// events. Runs on the database thread only; every operation returns false
// after an engine error, which it reports itself (message 1019). Every text
// of the history comes from agents or is composed by the console, so texts
// are cut to fit their columns rather than refused.
#pragma once

#include "CDBStore.h"
#include "DBRecords.h"

class CDBHistoryStore : public CDBStore {
public:
    using CDBStore::CDBStore;

    // Cuts the texts of the record to their columns, then stores it.
    bool SetEventEntry(DBHEvent& record);
    bool GetEventEntry(int32_t nEventID, DBHEvent& record);
    bool GetProblemEventEntries(int32_t nProblemID, DBHEventList& list);

    // Cuts the texts of the record to their columns, then stores it.
    bool SetProblem(DBHProblem& record);
    bool GetProblem(int32_t nProblemID, DBHProblem& record);
    // Status filter 0: every problem, the audition filter is not applied.
    // Otherwise the problems of that status, and of that audition when the
    // audition filter is not 0.
    bool GetAllProblems(int32_t nAuditionFilter, int32_t nStatusFilter, DBHProblemList& list);
    bool DeleteProblem(int32_t nProblemID);
};
