// Binding of the table AUDITIONS_PLUGIN: detail row of a plug-in audition.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRAuditionsPlugin final : public CDBBinding<DBAuditionPlugin> {
public:
    static const CDBRAuditionsPlugin& Get() {
        static const CDBRAuditionsPlugin binding;
        return binding;
    }

private:
    using R = DBAuditionPlugin;

    CDBRAuditionsPlugin()
        : CDBBinding("AUDITIONS_PLUGIN", "AUDITION_ID", DBIndexKind::UniqueKey,
                     {
                         Long("AUDITION_ID", &R::AUDITION_ID),
                         Text("SERVER_PATH", &R::SERVER_PATH),
                         Long("PLUGIN_TYPE", &R::PLUGIN_TYPE, "0"),
                         Text("PLUGIN_NAME", &R::PLUGIN_NAME),
                     }) {}
};
