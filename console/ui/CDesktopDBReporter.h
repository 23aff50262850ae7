// What the database thread and the start-up version check show on the
// desktop. The database thread's calls (message 1019, the conversion's
// progress) are posted to the user interface thread and return at once, since
// that thread may be the one waiting for the database. The start-up questions
// run as modal boxes on the user interface thread, also when the start-up
// itself runs on another thread.
#pragma once

#include "IDBReporter.h"
#include "IDBVersionPrompt.h"

#include <QObject>
#include <QPointer>

#include "CProgressDialog.h"

class CDesktopDBReporter : public QObject, public IDBReporter, public IDBVersionPrompt {
    Q_OBJECT
public:
    explicit CDesktopDBReporter(QObject* parent = nullptr);
    ~CDesktopDBReporter() override;

    void ReportError(const std::string& strText) override;
    void BeginProgress(const std::string& strText, int nRange) override;
    void StepProgress(int nStep) override;
    void EndProgress() override;

    void ShowError(const std::string& strText) override;
    DBPromptAnswer AskYesNoCancel(const std::string& strText,
                                  const std::string& strCaption) override;

    CProgressDialog* Progress() const { return m_pProgress; }

private:
    // Runs work on the user interface thread and waits for it; directly when
    // already there.
    template <class Work> void RunOnUiThread(Work&& work);

    QPointer<CProgressDialog> m_pProgress;
};
