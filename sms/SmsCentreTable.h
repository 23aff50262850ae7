// The built-in dial-in numbers of the SMS centres, for callers that have none
// configured.
#pragma once

#include <cstdint>

namespace SmsCentreTable {

// The centre of a network; for networks with two, the first when `alternate`
// is set and the second when it is clear. nullptr for an unknown network.
const char* CentreNumber(int32_t network, bool alternate);

} // namespace SmsCentreTable
