// Runs a started console without a display until SIGINT or SIGTERM; SIGHUP
// makes it follow a change of the configuration database.
#pragma once

#include "ConsoleEngine.h"
#include "VigilApp.h"

// The signals must be blocked (BlockStopSignals) before any thread starts, so
// that only the waiting main thread receives them.
void BlockStopSignals();
// TARN_PASS_PERIOD_MS shortens the wait between two audition passes (for
// demonstrations and tests); anything but a positive number keeps the options.
void ApplyPeriodFromEnvironment(ConsoleEngineOptions& options);
// Prints the titles, reports start and stop as event lines, keeps the PID
// file of the installation (CConsolePidFile), waits for a stop signal and
// shuts down. The options carry the program's channels;
// TARN_PASS_PERIOD_MS may shorten their audition period. Returns the exit status.
int RunHeadless(CVigilApp& app, ConsoleEngineOptions options);
