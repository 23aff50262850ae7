// Binding of the table CONFIGURATION: the global settings (one row).
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRConfiguration final : public CDBBinding<DBConfiguration> {
public:
    static const CDBRConfiguration& Get() {
        static const CDBRConfiguration binding;
        return binding;
    }

private:
    using R = DBConfiguration;

    CDBRConfiguration()
        : CDBBinding("CONFIGURATION", "", DBIndexKind::None,
                     {
                         Text("PROTOCOLFILE", &R::PROTOCOLFILE),
                         Text("DATA_DIRECTORY", &R::DATA_DIRECTORY),
                     }) {}
};
