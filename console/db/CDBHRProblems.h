// Binding of the table PROBLEMS: one row per problem in the history file; the extra index serves
// the selection of open problems.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBHRProblems final : public CDBBinding<DBHProblem> {
public:
    static const CDBHRProblems& Get() {
        static const CDBHRProblems binding;
        return binding;
    }

private:
    using R = DBHProblem;

    CDBHRProblems()
        : CDBBinding("PROBLEMS", "PROBLEM_ID", DBIndexKind::None,
                     {
                         AutoNumber("PROBLEM_ID", &R::PROBLEM_ID),
                         Long("PROBLEM_STATUS", &R::PROBLEM_STATUS),
                         Text("PROBLEM_DESCRIPTION", &R::PROBLEM_DESCRIPTION),
                         Long("MAX_DURATION", &R::MAX_DURATION),
                         Text("PROBLEM_BEGIN", &R::PROBLEM_BEGIN),
                         Text("PROBLEM_END", &R::PROBLEM_END),
                         Long("AUDITION_ID", &R::AUDITION_ID),
                         Long("ERROR_COUNT", &R::ERROR_COUNT),
                         Text("AUDITION_NAME", &R::AUDITION_NAME),
                         Text("COMPUTER_NAME", &R::COMPUTER_NAME),
                     }) {
        AddLookupIndex({"PROBLEM_STATUS", "AUDITION_ID"});
    }
};
