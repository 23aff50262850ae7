#include "CBusyIndicator.h"

#include "MessageIds.h"
#include "UiText.h"

CBusyIndicator::CBusyIndicator(const QString& text, QWidget* page)
    : QProgressDialog(text, UiText(IDS_BUTTON_CLOSE), 0, 0, page) {
    setWindowTitle(page ? page->window()->windowTitle() : QString());
    setWindowModality(Qt::WindowModal);
    setMinimumDuration(0);
    setAutoClose(false);
    setAutoReset(false);
    connect(this, &QProgressDialog::canceled, this, &QObject::deleteLater);
    show();
}
