// Whether an audition can run at all: a known type, the row of its type's
// details, and for a plug-in audition an installed plug-in of its type. The
// console names the reason in one error event line instead of starting such
// an audition; "tarn-admin check" lists the same rows.
#pragma once

#include "DBRecords.h"

#include <string>

// The reason in the running language ("" when the audition can run).
// pluginAvailable tells whether a plug-in of the audition's plug-in type is
// loaded (only asked for plug-in auditions).
std::string AuditionCannotRunReason(const DBAudition& audition, bool pluginAvailable);
// The whole event line: "The audition cannot run: <reason>".
std::string AuditionCannotRunLine(const std::string& reason);
