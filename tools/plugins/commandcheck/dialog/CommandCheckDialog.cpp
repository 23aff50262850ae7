// The entry point of libCommandCheckDialog.so (CommandCheckDialogModule.h).
#include "CCommandCheckDialog.h"
#include "CommandCheckDialogModule.h"

#include <QApplication>
#include <QThread>

namespace {

// Only a widget application's own thread can show the dialog.
bool CanShowDialog() {
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    return application && application->thread() == QThread::currentThread();
}

} // namespace

extern "C" __attribute__((visibility("default"))) int32_t
CommandCheckConfigureDialog(const char* iniFile, int32_t auditionId, const char* computer) {
    // Nothing may cross into the C caller.
    try {
        if (!iniFile || !CanShowDialog())
            return COMMANDCHECK_DIALOG_UNAVAILABLE;
        QWidget* parent = QApplication::activeModalWidget();
        if (!parent)
            parent = QApplication::activeWindow();
        CCommandCheckDialog dialog(iniFile, auditionId, computer ? computer : "", parent);
        return dialog.exec() == QDialog::Accepted ? COMMANDCHECK_DIALOG_STORED
                                                  : COMMANDCHECK_DIALOG_CANCELLED;
    } catch (...) {
        return COMMANDCHECK_DIALOG_UNAVAILABLE;
    }
}
