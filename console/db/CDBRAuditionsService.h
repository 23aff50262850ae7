// Binding of the table AUDITIONS_SERVICE: detail row of a service audition.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRAuditionsService final : public CDBBinding<DBAuditionService> {
public:
    static const CDBRAuditionsService& Get() {
        static const CDBRAuditionsService binding;
        return binding;
    }

private:
    using R = DBAuditionService;

    CDBRAuditionsService()
        : CDBBinding("AUDITIONS_SERVICE", "AUDITION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("AUDITION_ID", &R::AUDITION_ID),
                         Text("SERVER_PATH", &R::SERVER_PATH),
                         Text("SERVICE_MODULE", &R::SERVICE_MODULE),
                         Text("SERVICE_NAME", &R::SERVICE_NAME),
                         Text("SERVICE_DISPLAYNAME", &R::SERVICE_DISPLAYNAME),
                     }) {}
};
