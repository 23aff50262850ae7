// Binding of the table R_AUDIT_NOTIFY_PROFILE: the ordered notify profiles of an audition.
#pragma once

#include "CDBBinding.h"
#include "DBRelationRow.h"

class CDBRRelAuditNotifyProfiles final : public CDBBinding<DBRelationRow> {
public:
    static const CDBRRelAuditNotifyProfiles& Get() {
        static const CDBRRelAuditNotifyProfiles binding;
        return binding;
    }

private:
    using R = DBRelationRow;

    CDBRRelAuditNotifyProfiles()
        : CDBBinding("R_AUDIT_NOTIFY_PROFILE", "AUDITION_ID", DBIndexKind::OwnerSequence,
                     {
                         Long("AUDITION_ID", &R::OwnerID),
                         Long("SEQUENCE_NR", &R::SequenceNr),
                         Long("PROFILE_ID", &R::MemberID),
                     }) {}
};
