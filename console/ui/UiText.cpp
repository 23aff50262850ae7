#include "UiText.h"

#include "StringTable.h"

#include <QStringList>

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

QString UiText(unsigned id) {
    return ToQString(LoadTarnString(id));
}

QString CommandPrompt(unsigned id) {
    return UiText(id).section(QLatin1Char('\n'), 0, 0);
}

QString CommandTip(unsigned id) {
    return UiText(id).section(QLatin1Char('\n'), 1);
}

QString UiTextPart(unsigned id, int part) {
    return UiText(id).section(QLatin1Char('|'), part, part);
}

QString UiTextWith(unsigned id, const QString& argument) {
    QString text = UiText(id);
    const qsizetype at = text.indexOf(QLatin1String("%s"));
    if (at >= 0)
        text.replace(at, 2, argument);
    return text;
}

QString FileDialogFilter(unsigned id) {
    const QStringList parts = UiText(id).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList names;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        names << parts[i];
    return names.join(QStringLiteral(";;"));
}
