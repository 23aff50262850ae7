// Binding of the table AUDITIONS_APP: detail row of an application audition.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRAuditionsApp final : public CDBBinding<DBAuditionApp> {
public:
    static const CDBRAuditionsApp& Get() {
        static const CDBRAuditionsApp binding;
        return binding;
    }

private:
    using R = DBAuditionApp;

    CDBRAuditionsApp()
        : CDBBinding("AUDITIONS_APP", "AUDITION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("AUDITION_ID", &R::AUDITION_ID),
                         Text("APP_MODULE", &R::APP_MODULE),
                         Text("SERVER_PATH", &R::SERVER_PATH),
                     }) {}
};
