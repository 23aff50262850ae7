// Binding of the table AUDITIONS: one row per audition.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRAuditions final : public CDBBinding<DBAudition> {
public:
    static const CDBRAuditions& Get() {
        static const CDBRAuditions binding;
        return binding;
    }

private:
    using R = DBAudition;

    CDBRAuditions()
        : CDBBinding("AUDITIONS", "AUDITION_ID", DBIndexKind::None,
                     {
                         Bool("ACTION_RESTART_APP", &R::ACTION_RESTART_APP),
                         Bool("ACTION_RESTART_SERVICE", &R::ACTION_RESTART_SERVICE),
                         Bool("ACTION_RESTART_SYSTEM", &R::ACTION_RESTART_SYSTEM),
                         Long("ACTION_SPECIAL_MASK", &R::ACTION_SPECIAL_MASK),
                         Bool("ACTIVE", &R::ACTIVE),
                         Long("ACTIVE_BEGIN", &R::ACTIVE_BEGIN),
                         Long("ACTIVE_END", &R::ACTIVE_END),
                         AutoNumber("AUDITION_ID", &R::AUDITION_ID),
                         Long("AUDITION_TYPE", &R::AUDITION_TYPE),
                         Text("DESCRIPTION", &R::DESCRIPTION),
                         Text("NAME", &R::NAME),
                         Long("MAX_DURATION", &R::MAX_DURATION),
                         Text("RESTART_PARAMETERS", &R::RESTART_PARAMETERS),
                         Bool("NOTIFY_ALWAYS", &R::NOTIFY_ALWAYS),
                         Bool("NOTIFY_FAILURE", &R::NOTIFY_FAILURE),
                         Bool("NOTIFY_SUCCESS", &R::NOTIFY_SUCCESS),
                     }) {}
};
