// Where the console's event view lines go: the desktop event view, or standard
// output and the protocol file when the console runs headless.
#pragma once

#include <string>

class IEventViewSink {
public:
    virtual ~IEventViewSink() = default;
    // kind is an EventViewKind; an empty computer is shown as "unbekannt".
    virtual void AddEventViewLine(int kind, const std::string& computer,
                                  const std::string& audition, const std::string& text) = 0;
};
