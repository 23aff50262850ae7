#include "DialogApplication.h"

#include <QThread>

#include <clocale>

namespace {

// QApplication keeps references to these for its whole life.
int g_argc = 1;
char g_program[] = "LUSendMailDialog";
char* g_argv[] = {g_program, nullptr};

} // namespace

bool CDialogApplication::PlatformAvailable() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("DISPLAY");
}

CDialogApplication::CDialogApplication() {
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        m_ready =
            qobject_cast<QApplication*>(existing) && existing->thread() == QThread::currentThread();
        return;
    }
    // Without a display Qt's default platform ends the process; a dialog
    // nobody sees would wait for ever. Both are worse than "cannot show".
    if (!PlatformAvailable())
        return;
    // QApplication sets the process locale from the environment.
    if (const char* locale = std::setlocale(LC_ALL, nullptr))
        m_locale = locale;
    m_own = std::make_unique<QApplication>(g_argc, g_argv);
    m_ready = true;
}

CDialogApplication::~CDialogApplication() {
    if (!m_own)
        return;
    m_own.reset();
    if (!m_locale.empty())
        std::setlocale(LC_ALL, m_locale.c_str());
}
