// The QApplication the address-book dialog runs in: the caller's own when it
// has one, else one made for the time of the dialog.
#pragma once

#include <QApplication>

#include <memory>
#include <string>

class CDialogApplication {
public:
    CDialogApplication();
    // Ends an application made here and gives the process its locale back.
    ~CDialogApplication();
    CDialogApplication(const CDialogApplication&) = delete;
    CDialogApplication& operator=(const CDialogApplication&) = delete;

    // False when no dialog can be shown on this thread: the caller's
    // application has no widgets or lives on another thread, or there is no
    // display to make one on.
    bool Ready() const { return m_ready; }

private:
    // A platform was chosen by the caller (QT_QPA_PLATFORM), or a display exists.
    static bool PlatformAvailable();

    std::unique_ptr<QApplication> m_own;
    std::string m_locale;
    bool m_ready = false;
};
