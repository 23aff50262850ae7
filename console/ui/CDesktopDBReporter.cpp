#include "CDesktopDBReporter.h"

#include "CMessageBox.h"
#include "CProgressDialog.h"
#include "UiText.h"

#include <QThread>

CDesktopDBReporter::CDesktopDBReporter(QObject* parent) : QObject(parent) {}

CDesktopDBReporter::~CDesktopDBReporter() {
    delete m_pProgress;
}

void CDesktopDBReporter::ReportError(const std::string& strText) {
    CMessageBox::PostError(ToQString(strText));
}

void CDesktopDBReporter::BeginProgress(const std::string& strText, int nRange) {
    const QString text = ToQString(strText);
    QMetaObject::invokeMethod(
        this,
        [this, text, nRange] {
            delete m_pProgress;
            m_pProgress = new CProgressDialog(text, 0, nRange, 1);
            m_pProgress->SetText(text);
            m_pProgress->show();
        },
        Qt::QueuedConnection);
}

void CDesktopDBReporter::StepProgress(int nStep) {
    QMetaObject::invokeMethod(
        this,
        [this, nStep] {
            if (m_pProgress)
                m_pProgress->SetPos(nStep);
        },
        Qt::QueuedConnection);
}

void CDesktopDBReporter::EndProgress() {
    QMetaObject::invokeMethod(
        this, [this] { delete m_pProgress; }, Qt::QueuedConnection);
}

template <class Work> void CDesktopDBReporter::RunOnUiThread(Work&& work) {
    if (QThread::currentThread() == thread())
        work();
    else
        QMetaObject::invokeMethod(this, std::forward<Work>(work), Qt::BlockingQueuedConnection);
}

void CDesktopDBReporter::ShowError(const std::string& strText) {
    const QString text = ToQString(strText);
    RunOnUiThread([text] { CMessageBox::Error(nullptr, text); });
}

DBPromptAnswer CDesktopDBReporter::AskYesNoCancel(const std::string& strText,
                                                  const std::string& strCaption) {
    const QString text = ToQString(strText);
    const QString caption = ToQString(strCaption);
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    RunOnUiThread([&] {
        QMessageBox* box =
            CMessageBox::Make(nullptr, QMessageBox::Warning, text, caption,
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        answer = static_cast<QMessageBox::StandardButton>(box->exec());
        delete box;
    });
    if (answer == QMessageBox::Yes)
        return DBPromptAnswer::Yes;
    return answer == QMessageBox::No ? DBPromptAnswer::No : DBPromptAnswer::Cancel;
}
