// Runs a started console without a display until SIGINT or SIGTERM.
#pragma once

#include "VigilApp.h"

// The signals must be blocked (BlockStopSignals) before any thread starts, so
// that only the waiting main thread receives them.
void BlockStopSignals();
// Prints the titles, reports start and stop as event lines, waits for a stop
// signal and shuts down. Returns the process exit status.
int RunHeadless(CVigilApp& app);
