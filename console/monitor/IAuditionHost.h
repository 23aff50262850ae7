// What the audition thread needs from the console's problem handling: the
// event view, the expiry check run for every entry in every pass, and the hand-off
// of an error signal. The main frame implements it; the calls come from the
// audition thread.
#pragma once

#include "AuditionEntry.h"
#include "IEventViewSink.h"

class IAuditionHost : public IEventViewSink {
public:
    // Called for every entry in every pass, before the entry's own check, with
    // the thread's working copy. Changes made to the copy (for example stopping
    // the audition when one of its problems is closed) are kept: the thread
    // checks and writes back this same copy.
    virtual void CheckOpenProblems(AuditionEntry& entry) = 0;
    // Called when a pass begins and when it has ended, on the audition
    // thread, so that the host can read at once what every entry's check
    // needs.
    virtual void BeginPass() {}
    virtual void EndPass() {}
    // The entry signalled an error in this pass; it carries the signal.
    // True once the signal is stored (its problem and its event); false when
    // storing was refused: an agent's log line is then left unmarked, so that
    // the next pass takes it again.
    virtual bool OnAuditionError(AuditionEntry entry) = 0;
};
