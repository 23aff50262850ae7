// Binding of the table AUDITIONS_LOGFILE: detail row of a log file audition.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRAuditionsLogfile final : public CDBBinding<DBAuditionLogfile> {
public:
    static const CDBRAuditionsLogfile& Get() {
        static const CDBRAuditionsLogfile binding;
        return binding;
    }

private:
    using R = DBAuditionLogfile;

    CDBRAuditionsLogfile()
        : CDBBinding("AUDITIONS_LOGFILE", "AUDITION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("AUDITION_ID", &R::AUDITION_ID),
                         Long("CHECK_INTERVAL", &R::CHECK_INTERVAL),
                         Short("CHECK_TYPE", &R::CHECK_TYPE),
                         Text("LOGFILE", &R::LOGFILE),
                     }) {}
};
