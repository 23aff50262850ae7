#include "CMessageBox.h"

#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QApplication>
#include <QPushButton>

namespace {

void NameButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, unsigned> names[] = {
        {QMessageBox::Ok, IDS_BUTTON_OK},
        {QMessageBox::Yes, IDS_BUTTON_YES},
        {QMessageBox::No, IDS_BUTTON_NO},
        {QMessageBox::Cancel, IDS_BUTTON_CANCEL}};
    for (const auto& [button, id] : names)
        if (QAbstractButton* widget = box.button(button))
            widget->setText(UiText(id));
}

int Run(QMessageBox* box) {
    const int answer = box->exec();
    delete box;
    return answer;
}

} // namespace

QMessageBox* CMessageBox::Make(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                               const QString& caption, QMessageBox::StandardButtons buttons) {
    auto* box = new QMessageBox(icon, caption, text, buttons, parent);
    NameButtons(*box);
    return box;
}

void CMessageBox::Error(QWidget* parent, const QString& text) {
    Run(Make(parent, QMessageBox::Critical, text, UiText(IDS_ERROR_CAPTION), QMessageBox::Ok));
}

void CMessageBox::Warning(QWidget* parent, const QString& text) {
    Run(Make(parent, QMessageBox::Warning, text, UiText(IDS_ERROR_CAPTION), QMessageBox::Ok));
}

void CMessageBox::Information(QWidget* parent, const QString& text, const QString& caption) {
    Run(Make(parent, QMessageBox::Information, text, caption, QMessageBox::Ok));
}

QMessageBox::StandardButton CMessageBox::Ask(QWidget* parent, const QString& text,
                                             const QString& caption,
                                             QMessageBox::StandardButtons buttons) {
    return static_cast<QMessageBox::StandardButton>(
        Run(Make(parent, QMessageBox::Question, text, caption, buttons)));
}

void CMessageBox::PostError(const QString& text) {
    Post(QMessageBox::Critical, text, UiText(IDS_ERROR_CAPTION));
}

void CMessageBox::Post(QMessageBox::Icon icon, const QString& text, const QString& caption) {
    QMetaObject::invokeMethod(
        qApp,
        [icon, text, caption] {
            QMessageBox* box =
                Make(QApplication::activeWindow(), icon, text, caption, QMessageBox::Ok);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        },
        Qt::QueuedConnection);
}
