// Work of a page that may take long (a log-on that waits for the mail
// system, a print system that answers slowly) runs on a thread of the pool
// while a busy indicator covers the page, so that the window never freezes.
//
// When the work is done, on the user-interface thread:
//   - done(result) when the operator waited for it;
//   - dropped(result) when the indicator was closed or the page has gone
//     meanwhile, so that what the work holds (a log-on) can be given back.
// done may use the page; dropped must not. work must not touch widgets.
//
//     CBackgroundWork::Run<Queues>(page, UiText(IDS_...), [] { return ReadQueues(); },
//                                  [page](Queues& queues) { page->Show(queues); });
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class CBusyIndicator;
class QWidget;

class CBackgroundWork : public QObject {
    Q_OBJECT
public:
    static void Run(QWidget* page, const QString& text, std::function<void()> work,
                    std::function<void()> done, std::function<void()> dropped = {});

    template <class Result>
    static void Run(QWidget* page, const QString& text, std::function<Result()> work,
                    std::function<void(Result&)> done, std::function<void(Result&)> dropped = {}) {
        auto result = std::make_shared<Result>();
        Run(
            page, text, [result, work = std::move(work)] { *result = work(); },
            [result, done = std::move(done)] { done(*result); },
            [result, dropped = std::move(dropped)] {
                if (dropped)
                    dropped(*result);
            });
    }

private:
    CBackgroundWork(const QString& text, QWidget* page);
    // Called on the user-interface thread once the work has returned.
    static void Finish(const QPointer<CBackgroundWork>& work, const std::function<void()>& done,
                       const std::function<void()>& dropped);

    QPointer<CBusyIndicator> m_pIndicator;
};
