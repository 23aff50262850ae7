// The computer shown for an audition definition: the SERVER_PATH of its
// detail record for every type but Logfile, which has none.
#pragma once

#include "DBRecords.h"

#include <string>

std::string AuditionComputerOf(const DBAudition& audition);
