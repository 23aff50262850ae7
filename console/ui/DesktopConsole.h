// Runs the console with its main window.
#pragma once

#include "ConsoleEngine.h"
#include "VigilApp.h"

#include <functional>

// True when a display is there to open a window on (X11 or Wayland).
bool HasDisplay();
// Starts the console (the start-up routine runs beside the event loop, so
// that its questions and the conversion's progress window can be shown),
// opens the main window and runs until it is closed. makeOptions gives the
// engine's options (the program's channels) for the started application;
// TARN_PASS_PERIOD_MS may shorten their audition period. Returns the exit
// status. A QApplication must exist.
int RunDesktop(const std::function<ConsoleEngineOptions(CVigilApp&)>& makeOptions);
