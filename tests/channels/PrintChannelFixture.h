// The printer and fax channels through Qt's print support and a private CUPS
// scheduler with the capture queues "Leitstand" and "LG-Fax". Shared by the
// channel tests and the desktop console's test buttons; the program needs a
// QGuiApplication for Qt to draw the text.
#pragma once

#include "ChannelTestSupport.h"
#include "CupsTestServer.h"
#include "QtDocumentPrinter.h"

#include <chrono>
#include <string>

class PrintChannel : public ChannelTest {
protected:
    static inline const std::string kPrinterQueue = "Leitstand";
    static constexpr std::chrono::seconds kJobWait{30};

    // One scheduler for the whole process: the CUPS client keeps the server it
    // first talked to.
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    // The next job of the queue after the ones it had.
    CapturedJob NextJob(const std::string& queue, size_t before) const;
    size_t JobCount(const std::string& queue) const;

    static CCupsTestServer* s_server;
    static std::string s_error;
    CQtDocumentPrinter m_qtPrinter;
};
