// Plays a script on the next modal dialog of a type once it is shown: the
// test's code runs inside the dialog's own event loop, drives its widgets
// and closes it. Like CBoxAnswerer, it waits without blocking the event loop.
// A busy indicator shown while the dialog's data is read is not the dialog.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QProgressDialog>
#include <QTimer>

#include <functional>
#include <type_traits>

template <class Dialog> class CModalScript {
public:
    explicit CModalScript(std::function<void(Dialog&)> script) : m_script(std::move(script)) {
        Poll();
    }

    bool Played() const { return m_bPlayed; }

private:
    void Poll() {
        QTimer::singleShot(10, &m_guard, [this] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || IsBusyIndicator(*dialog)) {
                Poll();
                return;
            }
            m_bPlayed = true;
            m_script(*dialog);
            if (dialog->isVisible()) // a script that left it open must not hang the test
                dialog->reject();
        });
    }

    static bool IsBusyIndicator(Dialog& dialog) {
        return !std::is_base_of_v<QProgressDialog, Dialog> &&
               qobject_cast<QProgressDialog*>(&dialog);
    }

    QObject m_guard; // ends the polling with the script
    std::function<void(Dialog&)> m_script;
    bool m_bPlayed = false;
};
