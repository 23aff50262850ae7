// The desktop console's IConsoleView. The engine calls it on its worker
// threads, often while it holds a list lock, so it does nothing but emit:
// every signal reaches the window through a queued connection, one hop to the
// user interface thread, and no call ever waits for that thread.
#pragma once

#include "DBRecords.h"
#include "IConsoleView.h"

#include <QMetaType>
#include <QObject>
#include <QString>

Q_DECLARE_METATYPE(DBHProblem)
Q_DECLARE_METATYPE(DBHEvent)

class CConsoleViewBridge : public QObject, public IConsoleView {
    Q_OBJECT
public:
    explicit CConsoleViewBridge(QObject* parent = nullptr);

    void AddEventViewLine(int kind, const std::string& computer, const std::string& audition,
                          const std::string& text) override;
    void OnProblemAdded(const DBHProblem& problem) override;
    void OnProblemChanged(const DBHProblem& problem) override;
    void OnProblemEventAdded(const DBHEvent& event) override;
    void ShowMessage(const std::string& text) override;

signals:
    // time: when the line was made (seconds since the epoch).
    void eventLine(int kind, qint64 time, const QString& computer, const QString& audition,
                   const QString& text);
    void problemAdded(const DBHProblem& problem);
    void problemChanged(const DBHProblem& problem);
    void problemEventAdded(const DBHEvent& event);
    void message(const QString& text);
};
