// The audition rows of an installation that the console cannot run, as
// "tarn-admin check" lists them.
#pragma once

#include <string>

// Prints one line per audition that cannot run (id, name, reason) under a
// heading; prints nothing when every audition can run. Returns the count.
int PrintAuditionsThatCannotRun(const std::string& strDirectory);
