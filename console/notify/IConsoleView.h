// What the console's engine shows: event view lines, the problems of the
// history with their events as they are added and changed, and messages. The
// desktop interface implements it with its views; the headless console writes
// event lines to standard output and the protocol file. Calls come from the
// engine's worker threads; an implementation must not call back into the engine.
#pragma once

#include "DBRecords.h"
#include "IEventViewSink.h"

#include <string>

class IConsoleView : public IEventViewSink {
public:
    // A problem was stored for the first time.
    virtual void OnProblemAdded(const DBHProblem& problem) { (void)problem; }
    // A stored problem changed (its error count, its status).
    virtual void OnProblemChanged(const DBHProblem& problem) { (void)problem; }
    // An event was stored under a problem.
    virtual void OnProblemEventAdded(const DBHEvent& event) { (void)event; }
    // A message for the user (caption 1100, stop icon in the desktop interface).
    virtual void ShowMessage(const std::string& text) { (void)text; }
};
