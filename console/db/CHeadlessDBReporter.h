// The reporter and version prompt of a console without a display and of the
// admin tool: messages go to standard error and the trace file, progress steps
// to standard error, and the conversion question is answered with a fixed
// answer. Never waits for another thread, so it is safe on the database thread.
#pragma once

#include "IDBReporter.h"
#include "IDBVersionPrompt.h"

#include <cstdio>

class CHeadlessDBReporter final : public IDBReporter, public IDBVersionPrompt {
public:
    explicit CHeadlessDBReporter(DBPromptAnswer eAnswer = DBPromptAnswer::No,
                                 std::FILE* pOutput = stderr);

    void ReportError(const std::string& strText) override;
    void BeginProgress(const std::string& strText, int nRange) override;
    void StepProgress(int nStep) override;
    void EndProgress() override;

    void ShowError(const std::string& strText) override;
    DBPromptAnswer AskYesNoCancel(const std::string& strText,
                                  const std::string& strCaption) override;

private:
    DBPromptAnswer m_eAnswer;
    std::FILE* m_pOutput;
    int m_nRange = 0;

    void WriteMessage(const std::string& strCaption, const std::string& strText);
};
