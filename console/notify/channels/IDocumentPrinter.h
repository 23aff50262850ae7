// Prints one single-page document on a named print queue. The console's print
// path lives in a library of its own (it needs Qt); the channels reach it only
// through this interface.
#pragma once

#include <string>
#include <vector>

class IDocumentPrinter {
public:
    virtual ~IDocumentPrinter() = default;
    // Draws the lines at x = 50 from y = 50 down, each line below the one
    // before by that line's height (an empty line by the height of "g"), on
    // exactly one page of a document with the given name. False when the queue
    // is unknown or the document cannot be made.
    virtual bool PrintDocument(const std::string& queue, const std::string& documentName,
                               const std::vector<std::string>& lines) = 0;
};
