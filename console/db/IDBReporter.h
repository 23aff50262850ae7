// What the database thread shows the user: message 1019 after an engine error
// and the progress window of a conversion.
//
// Threading rule: every function is called ON THE DATABASE THREAD while the
// thread that asked for the database operation is blocked waiting for it. That
// caller is often the user-interface thread itself. An implementation must
// therefore return without waiting for any other thread: a desktop
// implementation posts the message box or the progress update to its own
// thread (a queued call) and returns at once; it never shows a modal box from
// here and never waits for the box to close. The headless implementation
// writes to standard error and the trace file.
#pragma once

#include <string>

class IDBReporter {
public:
    virtual ~IDBReporter() = default;

    // An error message (caption 1100, stop icon) with its final text.
    virtual void ReportError(const std::string& strText) = 0;

    // The conversion's progress window: a text line and a bar from 0 to nRange.
    virtual void BeginProgress(const std::string& strText, int nRange) = 0;
    // The bar now stands at nStep (1 .. nRange).
    virtual void StepProgress(int nStep) = 0;
    virtual void EndProgress() = 0;
};
