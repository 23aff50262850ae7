// Binding of the table AUDITIONS_NTEVTLOG: detail row of an NT event log audition.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRAuditionsNTEvtLog final : public CDBBinding<DBAuditionNTEvtLog> {
public:
    static const CDBRAuditionsNTEvtLog& Get() {
        static const CDBRAuditionsNTEvtLog binding;
        return binding;
    }

private:
    using R = DBAuditionNTEvtLog;

    CDBRAuditionsNTEvtLog()
        : CDBBinding("AUDITIONS_NTEVTLOG", "AUDITION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("AUDITION_ID", &R::AUDITION_ID),
                         Text("SERVER_PATH", &R::SERVER_PATH),
                         Bool("AUDIT_APPLOG", &R::AUDIT_APPLOG),
                         Bool("AUDIT_ERROR", &R::AUDIT_ERROR),
                         Bool("AUDIT_SYSTEMLOG", &R::AUDIT_SYSTEMLOG),
                         Bool("AUDIT_WARNING", &R::AUDIT_WARNING),
                         Memo("FILTER_ID", &R::FILTER_ID),
                         Memo("FILTER_SOURCE", &R::FILTER_SOURCE),
                         Long("FILTER_TYPE", &R::FILTER_TYPE, "0"),
                     }) {}
};
