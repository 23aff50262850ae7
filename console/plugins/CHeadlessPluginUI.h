// The plug-in host's messages without a desktop: every message goes to a
// stream (standard error by default), and every question is answered with
// the answer given at construction, which is also printed.
#pragma once

#include "IPluginUI.h"

#include <iostream>
#include <mutex>

class CHeadlessPluginUI : public IPluginUI {
public:
    explicit CHeadlessPluginUI(bool bAnswerYes, std::ostream& out = std::cerr)
        : m_bAnswerYes(bAnswerYes), m_out(out) {}

    void ShowError(unsigned nMessageID, const std::string& strText) override;
    void ShowWarning(unsigned nMessageID, const std::string& strText) override;
    bool AskYesNo(unsigned nMessageID, const std::string& strText) override;
    void ShowPluginMessage(const std::string& strText) override;

private:
    const bool m_bAnswerYes;
    std::ostream& m_out;
    std::mutex m_lock; // plug-in messages may come from any thread

    void Print(const char* strKind, const std::string& strText);
};
