// Binding of the table EVENTS: one row per history event; the extra index serves the events of one
// problem.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBHREvents final : public CDBBinding<DBHEvent> {
public:
    static const CDBHREvents& Get() {
        static const CDBHREvents binding;
        return binding;
    }

private:
    using R = DBHEvent;

    CDBHREvents()
        : CDBBinding("EVENTS", "EVENT_ID", DBIndexKind::None,
                     {
                         AutoNumber("EVENT_ID", &R::EVENT_ID),
                         Text("DATE", &R::DATE),
                         Text("COMPUTER", &R::COMPUTER),
                         Long("SOURCE", &R::SOURCE),
                         Text("SOURCE_NAME", &R::SOURCE_NAME),
                         Text("SOURCE_MODULE_NAME", &R::SOURCE_MODULE_NAME),
                         Long("TYPE", &R::TYPE),
                         Long("CATEGORY", &R::CATEGORY),
                         Text("EVENT_DESCRIPTION", &R::EVENT_DESCRIPTION),
                         Text("INFO_ID", &R::INFO_ID),
                         Long("PROBLEM_ID", &R::PROBLEM_ID),
                     }) {
        AddLookupIndex({"PROBLEM_ID"});
    }
};
