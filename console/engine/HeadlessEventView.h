// The event view of a console without a display: every line goes to standard
// output and is appended to the protocol file.
#pragma once

#include "IConsoleView.h"

#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

class CHeadlessEventView : public IConsoleView {
public:
    // protocolFile returns the configured protocol file (empty: none); it may
    // change while the console runs.
    CHeadlessEventView(std::function<std::string()> protocolFile, std::FILE* output = stdout);

    void AddEventViewLine(int kind, const std::string& computer, const std::string& audition,
                          const std::string& text) override;
    // Messages go to standard error.
    void ShowMessage(const std::string& text) override;

private:
    std::mutex m_lock; // lines of several threads never interleave
    std::function<std::string()> m_protocolFile;
    std::FILE* m_pOutput;
};
