#include "CAboutDialog.h"

#include "CTarnIcons.h"
#include "MessageIds.h"
#include "UiText.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* TextLine(const QString& text, QVBoxLayout* lines) {
    auto* label = new QLabel(text);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lines->addWidget(label);
    return label;
}

} // namespace

CAboutDialog::CAboutDialog(const QString& title, const QString& address, const QString& copyright,
                           QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(UiTextWith(IDS_ABOUT_CAPTION, title));
    auto* picture = new QLabel;
    picture->setPixmap(CTarnIcons::Picture().scaledToWidth(96, Qt::SmoothTransformation));
    picture->setAlignment(Qt::AlignTop);
    auto* lines = new QVBoxLayout;
    QLabel* name = TextLine(title, lines);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    TextLine(UiTextWith(IDS_VERSION, QString::fromLatin1(kVersionText)), lines);
    if (!address.isEmpty())
        TextLine(QString(address).replace(QLatin1Char('\\'), QLatin1Char('\n')), lines);
    if (!copyright.isEmpty())
        TextLine(copyright, lines);
    lines->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(picture);
    body->addLayout(lines, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText(IDS_BUTTON_OK));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
}
