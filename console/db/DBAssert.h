// Assertion reports whose condition text is given as written in the report
// (the record and seek names the reports have always used), not as the C++
// expression that tests it.
#pragma once

#include "LUTool.h"

#define DB_ASSERT(expr, conditionText, description)                                                \
    LUTool().Assert(static_cast<bool>(expr), conditionText, description, __FILE__, __LINE__, 0)
