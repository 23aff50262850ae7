#include "CDBHistoryStore.h"

#include "CDBHREvents.h"
#include "CDBHRProblems.h"

namespace {

// Adds the row of a new record (key DB_KEY_NEW) and returns its key through
// nKey, or changes the existing row; a missing row is an assertion report.
template <class Binding, class Rec>
bool StoreRow(CDBConnection& connection, const Binding& binding, int32_t& nKey, const Rec& record,
              const char* strNotFound) {
    if (nKey == DB_KEY_NEW) {
        nKey = static_cast<int32_t>(binding.Insert(connection, record));
        return true;
    }
    bool bSeekResult = binding.UpdateByKey(connection, nKey, record);
    DB_ASSERT(bSeekResult, "bSeekResult", strNotFound);
    return bSeekResult;
}

template <class Binding, class Rec>
bool SeekRow(CDBConnection& connection, const Binding& binding, int32_t nKey, Rec& record,
             const char* strNotFound) {
    bool bSeekResult = binding.SelectByKey(connection, nKey, record);
    DB_ASSERT(bSeekResult, "bSeekResult", strNotFound);
    return bSeekResult;
}

} // namespace

bool CDBHistoryStore::SetEventEntry(DBHEvent& record) {
    if (record.EVENT_ID != DB_KEY_NEW) {
        DB_ASSERT(record.EVENT_ID > 0, "DBHEvent.EventID > 0", "DBHEvent nicht gültig");
        if (record.EVENT_ID <= 0)
            return false;
    }
    CDBHREvents::Get().FitTexts(record);
    return Guard("SetEventEntry", [&] {
        return StoreRow(m_connection, CDBHREvents::Get(), record.EVENT_ID, record,
                        "EventID nicht gefunden");
    });
}

bool CDBHistoryStore::GetEventEntry(int32_t nEventID, DBHEvent& record) {
    DB_ASSERT(nEventID > 0, "EventID > 0", "EventID nicht gültig");
    if (nEventID <= 0)
        return false;
    return Guard("GetEventEntry", [&] {
        return SeekRow(m_connection, CDBHREvents::Get(), nEventID, record,
                       "EventID nicht gefunden");
    });
}

bool CDBHistoryStore::GetProblemEventEntries(int32_t nProblemID, DBHEventList& list) {
    list.clear();
    DB_ASSERT(nProblemID > 0, "ProblemID > 0", "ProblemID nicht gültig");
    if (nProblemID <= 0)
        return false;
    return Guard("GetProblemEventEntries", [&] {
        ReadAllRows(CDBHREvents::Get(), " WHERE (PROBLEM_ID = ?)", {nProblemID}, list,
                    "DBHREvents.IsEOF()", "Anzahl der Records nicht balanciert!");
        return true;
    });
}

bool CDBHistoryStore::SetProblem(DBHProblem& record) {
    if (record.PROBLEM_ID != DB_KEY_NEW) {
        DB_ASSERT(record.PROBLEM_ID > 0, "DBHProblem.ProblemID > 0", "DBHProblem nicht gültig");
        if (record.PROBLEM_ID <= 0)
            return false;
    }
    CDBHRProblems::Get().FitTexts(record);
    return Guard("SetProblem", [&] {
        return StoreRow(m_connection, CDBHRProblems::Get(), record.PROBLEM_ID, record,
                        "ProblemID nicht gefunden");
    });
}

bool CDBHistoryStore::GetProblem(int32_t nProblemID, DBHProblem& record) {
    DB_ASSERT(nProblemID > 0, "ProblemID > 0", "ProblemID nicht gültig");
    if (nProblemID <= 0)
        return false;
    return Guard("GetProblem", [&] {
        return SeekRow(m_connection, CDBHRProblems::Get(), nProblemID, record,
                       "ProblemID nicht gefunden");
    });
}

bool CDBHistoryStore::GetAllProblems(int32_t nAuditionFilter, int32_t nStatusFilter,
                                     DBHProblemList& list) {
    return Guard("GetAllProblems", [&] {
        const CDBHRProblems& binding = CDBHRProblems::Get();
        const char* strEof = "DBHRProblems.IsEOF()";
        const char* strDescription = "Anzahl der Records nicht balanciert!";
        if (nStatusFilter == 0)
            ReadAllRows(binding, "", {}, list, strEof, strDescription);
        else if (nAuditionFilter == 0)
            ReadAllRows(binding, " WHERE (PROBLEM_STATUS = ?)", {nStatusFilter}, list, strEof,
                        strDescription);
        else
            ReadAllRows(binding, " WHERE (PROBLEM_STATUS = ?) AND (AUDITION_ID = ?)",
                        {nStatusFilter, nAuditionFilter}, list, strEof, strDescription);
        return true;
    });
}

bool CDBHistoryStore::DeleteProblem(int32_t nProblemID) {
    DB_ASSERT(nProblemID > 0, "ProblemID > 0", "ProblemID nicht gültig");
    if (nProblemID <= 0)
        return false;
    return Guard("DeleteProblem", [&] {
        DeleteRows({"EVENTS", "PROBLEMS"}, "PROBLEM_ID", nProblemID);
        return true;
    });
}
