// Answers the next modal message box of a test: waits (without blocking the
// event loop) until one is shown, keeps its text and caption and presses the
// given button.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

class CBoxAnswerer {
public:
    explicit CBoxAnswerer(QMessageBox::StandardButton answer) : m_answer(answer) { Poll(); }

    bool Answered() const { return m_bAnswered; }
    QString Text() const { return m_strText; }
    QString Caption() const { return m_strCaption; }
    QMessageBox::Icon Icon() const { return m_icon; }

private:
    void Poll() {
        QTimer::singleShot(10, &m_guard, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                Poll();
                return;
            }
            m_strText = box->text();
            m_strCaption = box->windowTitle();
            m_icon = box->icon();
            m_bAnswered = true;
            box->button(m_answer)->click();
        });
    }

    QObject m_guard; // ends the polling when the answerer goes, box or not
    QMessageBox::StandardButton m_answer;
    bool m_bAnswered = false;
    QString m_strText, m_strCaption;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
};
