#include "CBackgroundWork.h"

#include "CBusyIndicator.h"

#include <QCoreApplication>
#include <QThreadPool>

CBackgroundWork::CBackgroundWork(const QString& text, QWidget* page)
    : QObject(page), m_pIndicator(new CBusyIndicator(text, page)) {}

void CBackgroundWork::Run(QWidget* page, const QString& text, std::function<void()> work,
                          std::function<void()> done, std::function<void()> dropped) {
    // The guard is a child of the page: while it lives, so does the page.
    const QPointer<CBackgroundWork> guard(new CBackgroundWork(text, page));
    QThreadPool::globalInstance()->start([guard, work = std::move(work), done = std::move(done),
                                          dropped = std::move(dropped)]() mutable {
        work();
        QMetaObject::invokeMethod(
            qApp,
            [guard, done = std::move(done), dropped = std::move(dropped)] {
                Finish(guard, done, dropped);
            },
            Qt::QueuedConnection);
    });
}

void CBackgroundWork::Finish(const QPointer<CBackgroundWork>& work,
                             const std::function<void()>& done,
                             const std::function<void()>& dropped) {
    const bool waitedFor = work && work->m_pIndicator;
    if (work) {
        delete work->m_pIndicator;
        work->deleteLater();
    }
    if (waitedFor)
        done();
    else if (dropped)
        dropped();
}
