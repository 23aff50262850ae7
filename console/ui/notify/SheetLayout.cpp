#include "SheetLayout.h"

#include "MessageIds.h"
#include "UiText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

void LayOutSheet(QDialog& sheet, QWidget* pages) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &sheet);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText(IDS_BUTTON_OK));
    buttons->button(QDialogButtonBox::Cancel)->setText(UiText(IDS_BUTTON_CANCEL));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &sheet, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &sheet, &QDialog::reject);
    auto* layout = new QVBoxLayout(&sheet);
    layout->addWidget(pages);
    layout->addWidget(buttons);
}
