// The "&Test" button of a notification sheet's channel page: sends the test
// notification of one channel with the page's current values and shows the
// result ("Der Benachrichtigungstest wurde erfolgreich durchgeführt" or
// "... ist fehlgeschlagen ...").
//
// The send runs on a thread of its own (CTestNotifications of the engine),
// through the real channel in test mode (the test text, no history event),
// with the service settings as the engine last loaded them. Meanwhile a busy
// indicator is shown over the page; its "Schließen" button closes the
// indicator and leaves the send to finish on its own, the result is shown
// when it arrives. A result that arrives after the runner (or its page) is
// gone is dropped; the engine waits for running tests when it shuts down.
//
//     auto* runner = new CChannelTestRunner(engine.GetTestNotifications(), this);
//     connect(testButton, &QPushButton::clicked, this, [=] {
//         runner->Start(CHANNEL_SMS, NotificationFromPage());
//     });
#pragma once

#include "NotificationJob.h"

#include <QObject>
#include <QPointer>

#include <cstdint>

class CTestNotifications;
class CBusyIndicator;
class QWidget;

class CChannelTestRunner : public QObject {
    Q_OBJECT
public:
    // page: the parent of the runner, the indicator and the result box.
    CChannelTestRunner(CTestNotifications& tests, QWidget* page);
    ~CChannelTestRunner() override;

    // Starts the test of channel with notification as the page holds it (its
    // NAME and the channel's sub-record) and returns at once. A second Start
    // while a test runs is ignored and returns false.
    bool Start(NotificationChannel channel, const DBNotification& notification);
    bool IsRunning() const { return m_bRunning; }

    // The job a test sends: the notification, stage "occurred", no problem.
    static NotificationJob MakeTestJob(const DBNotification& notification);

signals:
    // The channel's result (1 = sent), after the result box was closed.
    void finished(int32_t result);

private:
    void OnResult(int32_t result);

    CTestNotifications& m_tests;
    QPointer<QWidget> m_pPage;
    QPointer<CBusyIndicator> m_pIndicator;
    bool m_bRunning = false;
};
