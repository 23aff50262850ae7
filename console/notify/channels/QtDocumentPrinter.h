// The console's print path: Qt's print support on a CUPS queue. Needs a
// QGuiApplication in the process (the headless console runs one on the
// "offscreen" platform); may print from any thread.
#pragma once

#include "IDocumentPrinter.h"

class CQtDocumentPrinter : public IDocumentPrinter {
public:
    bool PrintDocument(const std::string& queue, const std::string& documentName,
                       const std::vector<std::string>& lines) override;
};
