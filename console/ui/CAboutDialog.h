// The About box: the application title, the version "2.50.300 B300" and the
// registry texts "OEMAddress" (each backslash a line break) and "OEMCopyright"
// when they are set.
#pragma once

#include <QDialog>

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kVersionText = "2.50.300 B300";

    CAboutDialog(const QString& title, const QString& address, const QString& copyright,
                 QWidget* parent = nullptr);
};
