#include "CFieldWidgets.h"

#include "CConfigNumberEdit.h"
#include "CConfigTextEdit.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

QWidget* CFieldWidgets::Create(const FieldSpec& spec, const QString& checkText) {
    switch (spec.kind) {
    case FieldKind::Text:
        return new CConfigTextEdit(spec.maximum);
    case FieldKind::Number:
        return new CConfigNumberEdit(spec.minimum, spec.maximum);
    case FieldKind::Flag:
        break;
    }
    return new QCheckBox(checkText);
}

FieldValue CFieldWidgets::Read(QWidget* editor, const FieldSpec& spec) {
    switch (spec.kind) {
    case FieldKind::Text:
        return static_cast<QLineEdit*>(editor)->text().toStdString();
    case FieldKind::Number: {
        auto* number = static_cast<QSpinBox*>(editor);
        number->interpretText(); // what is typed counts, also before the field is left
        return int64_t{number->value()};
    }
    case FieldKind::Flag:
        break;
    }
    return int64_t{static_cast<QCheckBox*>(editor)->isChecked() ? 1 : 0};
}

void CFieldWidgets::Write(QWidget* editor, const FieldSpec& spec, const FieldValue& value) {
    switch (spec.kind) {
    case FieldKind::Text:
        static_cast<QLineEdit*>(editor)->setText(QString::fromStdString(FieldValueText(value)));
        return;
    case FieldKind::Number:
        if (const auto* number = std::get_if<int64_t>(&value))
            static_cast<QSpinBox*>(editor)->setValue(static_cast<int>(*number));
        return;
    case FieldKind::Flag:
        break;
    }
    const auto* flag = std::get_if<int64_t>(&value);
    static_cast<QCheckBox*>(editor)->setChecked(flag && *flag != 0);
}

void CFieldWidgets::Select(QWidget* widget) {
    if (!widget)
        return;
    widget->setFocus();
    if (auto* text = qobject_cast<QLineEdit*>(widget))
        text->selectAll();
    else if (auto* number = qobject_cast<QAbstractSpinBox*>(widget))
        number->selectAll();
}
