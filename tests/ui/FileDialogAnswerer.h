// Answers the next modal file dialog of a test: waits (without blocking the
// event loop) until one is shown, keeps its title and name filters and
// chooses the given file, or cancels when the path is empty.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

class CFileDialogAnswerer {
public:
    explicit CFileDialogAnswerer(QString path) : m_strPath(std::move(path)) { Poll(); }

    bool Answered() const { return m_bAnswered; }
    QString Title() const { return m_strTitle; }
    QStringList Filters() const { return m_filters; }
    QString Directory() const { return m_strDirectory; }

private:
    void Poll() {
        QTimer::singleShot(10, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                Poll();
                return;
            }
            m_strTitle = dialog->windowTitle();
            m_filters = dialog->nameFilters();
            m_strDirectory = dialog->directory().absolutePath();
            m_bAnswered = true;
            if (m_strPath.isEmpty()) {
                dialog->reject();
                return;
            }
            // selectFile leaves the name field alone while it has the focus,
            // so the path is typed into the field itself.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name)
                name->setText(m_strPath);
            else
                dialog->selectFile(m_strPath);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog's own, which checks the file
        });
    }

    QString m_strPath;
    bool m_bAnswered = false;
    QString m_strTitle, m_strDirectory;
    QStringList m_filters;
};
