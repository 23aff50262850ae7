#include "DesktopConsole.h"

#include "CDesktopDBReporter.h"
#include "CMainFrame.h"
#include "HeadlessConsole.h"
#include "QtCatalogueLoader.h"
#include "VigilApp.h"

#include <QApplication>
#include <QEventLoop>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <pthread.h>
#include <thread>

namespace {

// The start-up routine on a thread of its own while this thread serves the
// message boxes and the progress window it asks for.
bool StartUp(CVigilApp& app) {
    bool started = false;
    QEventLoop loop;
    std::thread startup([&] {
        started = app.InitInstance();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    startup.join();
    return started;
}

// Turns SIGINT and SIGTERM (blocked in every thread, BlockStopSignals) into
// closing the main window, so that a stopped desktop console shuts down in
// order like the headless one.
class StopSignalWaiter {
public:
    explicit StopSignalWaiter(CMainFrame& frame) {
        m_thread = std::thread([this, &frame] {
            sigset_t stopSignals;
            sigemptyset(&stopSignals);
            sigaddset(&stopSignals, SIGINT);
            sigaddset(&stopSignals, SIGTERM);
            int received = 0;
            sigwait(&stopSignals, &received);
            if (!m_bDone)
                QMetaObject::invokeMethod(&frame, &QWidget::close, Qt::QueuedConnection);
        });
    }
    ~StopSignalWaiter() {
        m_bDone = true;
        pthread_kill(m_thread.native_handle(), SIGTERM);
        m_thread.join();
    }

private:
    std::atomic<bool> m_bDone{false};
    std::thread m_thread;
};

} // namespace

bool HasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

int RunDesktop(const std::function<ConsoleEngineOptions(CVigilApp&)>& makeOptions) {
    CDesktopDBReporter reporter;
    CQtCatalogueLoader catalogues;
    CVigilApp app(reporter, reporter, &catalogues);
    if (!StartUp(app)) {
        app.ExitInstance();
        return 1;
    }
    ConsoleEngineOptions options = makeOptions(app);
    ApplyPeriodFromEnvironment(options);
    int status = 0;
    {
        CMainFrame frame(app, std::move(options));
        frame.show();
        frame.Start();
        StopSignalWaiter waiter(frame);
        status = QApplication::exec();
    }
    app.ExitInstance();
    return status;
}
