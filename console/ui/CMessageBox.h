// The console's message boxes: caption 1100 for errors and warnings, the
// buttons in the running language, and a box that can be raised from a
// thread the user interface thread may be waiting for.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

class CMessageBox {
public:
    // Modal boxes, on the user interface thread only.
    static void Error(QWidget* parent, const QString& text);
    static void Warning(QWidget* parent, const QString& text);
    static void Information(QWidget* parent, const QString& text, const QString& caption);
    // A question with the question icon; returns the button pressed.
    static QMessageBox::StandardButton Ask(QWidget* parent, const QString& text,
                                           const QString& caption,
                                           QMessageBox::StandardButtons buttons);
    // Shows an error box later on the user interface thread and returns at once,
    // from any thread. The box is window-modal to nothing and deletes itself.
    static void PostError(const QString& text);
    static void Post(QMessageBox::Icon icon, const QString& text, const QString& caption);

    // The box itself, for tests and the posted variant.
    static QMessageBox* Make(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                             const QString& caption, QMessageBox::StandardButtons buttons);
};
