// One row of an ordered relation: the owner's key, the position and the key of
// the member at that position.
#pragma once

#include <cstdint>

struct DBRelationRow {
    int32_t OwnerID = 0;
    int32_t SequenceNr = 0;
    int32_t MemberID = 0;
};
