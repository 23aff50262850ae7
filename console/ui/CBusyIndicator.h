// The indicator a page shows while its work runs off the user-interface
// thread: a window-modal box with a running bar, the text and a "Schließen"
// button, under the caption of the page's window. Closing it only stops
// waiting in front of the page; the work it stands for goes on, and its
// owner decides what becomes of the result. The box deletes itself when it
// is closed.
#pragma once

#include <QProgressDialog>

class CBusyIndicator : public QProgressDialog {
    Q_OBJECT
public:
    // Shown at once over page.
    CBusyIndicator(const QString& text, QWidget* page);
};
