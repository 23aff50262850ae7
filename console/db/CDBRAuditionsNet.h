// Binding of the table AUDITIONS_NET: detail row of a network audition.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRAuditionsNet final : public CDBBinding<DBAuditionNet> {
public:
    static const CDBRAuditionsNet& Get() {
        static const CDBRAuditionsNet binding;
        return binding;
    }

private:
    using R = DBAuditionNet;

    CDBRAuditionsNet()
        : CDBBinding("AUDITIONS_NET", "AUDITION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("AUDITION_ID", &R::AUDITION_ID),
                         Text("SERVER_PATH", &R::SERVER_PATH),
                         Long("TIMEOUT", &R::TIMEOUT, "5"),
                         Text("IP_ADDRESS", &R::IP_ADDRESS),
                         Long("CHECK_INTERVAL", &R::CHECK_INTERVAL, "2"),
                     }) {}
};
