// Binding of the table R_NOTIFY_PROFILE_NFCN: the ordered notifications of a notify profile.
#pragma once

#include "CDBBinding.h"
#include "DBRelationRow.h"

class CDBRRelNotifyProfileNfcn final : public CDBBinding<DBRelationRow> {
public:
    static const CDBRRelNotifyProfileNfcn& Get() {
        static const CDBRRelNotifyProfileNfcn binding;
        return binding;
    }

private:
    using R = DBRelationRow;

    CDBRRelNotifyProfileNfcn()
        : CDBBinding("R_NOTIFY_PROFILE_NFCN", "PROFILE_ID", DBIndexKind::OwnerSequence,
                     {
                         Long("PROFILE_ID", &R::OwnerID),
                         Long("SEQUENCE_NR", &R::SequenceNr),
                         Long("NOTIFICATION_ID", &R::MemberID),
                     }) {}
};
