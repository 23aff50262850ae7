#include "CChannelTestRunner.h"

#include "CBusyIndicator.h"
#include "CMessageBox.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "TestNotifications.h"
#include "UiText.h"

#include <QApplication>

CChannelTestRunner::CChannelTestRunner(CTestNotifications& tests, QWidget* page)
    : QObject(page), m_tests(tests), m_pPage(page) {}

// The indicator belongs to the page; a runner that goes first takes it along.
CChannelTestRunner::~CChannelTestRunner() {
    delete m_pIndicator;
}

NotificationJob CChannelTestRunner::MakeTestJob(const DBNotification& notification) {
    NotificationJob job;
    job.Stage = NOTIFY_STAGE_OCCURRED;
    job.Notification = notification;
    return job;
}

bool CChannelTestRunner::Start(NotificationChannel channel, const DBNotification& notification) {
    if (m_bRunning)
        return false;
    m_bRunning = true;
    // Closing the indicator only stops waiting in front of the page: the send
    // goes on and its result is still shown.
    m_pIndicator = new CBusyIndicator(UiText(IDS_TEST_RUNNING), m_pPage);

    // The result crosses to this thread as a posted call, and is dropped
    // when the runner has gone meanwhile.
    QPointer<CChannelTestRunner> self(this);
    m_tests.Start(channel, MakeTestJob(notification), [self](int32_t result) {
        QMetaObject::invokeMethod(
            qApp,
            [self, result] {
                if (self)
                    self->OnResult(result);
            },
            Qt::QueuedConnection);
    });
    return true;
}

void CChannelTestRunner::OnResult(int32_t result) {
    m_bRunning = false;
    if (m_pIndicator)
        m_pIndicator->deleteLater();
    const QPointer<CChannelTestRunner> self(this);
    if (result == CHANNEL_RESULT_SENT)
        CMessageBox::Information(m_pPage, UiText(IDS_TEST_SUCCEEDED),
                                 m_pPage ? m_pPage->window()->windowTitle() : QString());
    else
        CMessageBox::Error(m_pPage, UiText(IDS_TEST_FAILED));
    // The box ran an event loop: the page may have been closed meanwhile.
    if (self)
        emit finished(result);
}
