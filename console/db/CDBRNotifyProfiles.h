// Binding of the table NOTIFY_PROFILES: one row per notify profile.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRNotifyProfiles final : public CDBBinding<DBNotifyProfile> {
public:
    static const CDBRNotifyProfiles& Get() {
        static const CDBRNotifyProfiles binding;
        return binding;
    }

private:
    using R = DBNotifyProfile;

    CDBRNotifyProfiles()
        : CDBBinding("NOTIFY_PROFILES", "PROFILE_ID", DBIndexKind::None,
                     {
                         AutoNumber("PROFILE_ID", &R::PROFILE_ID),
                         Text("NAME", &R::NAME),
                         Text("DESCRIPTION", &R::DESCRIPTION),
                     }) {}
};
