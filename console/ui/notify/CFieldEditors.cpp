#include "CFieldEditors.h"

#include "UiText.h"

#include <QLineEdit>
#include <QSpinBox>

#include <limits>

QLineEdit* CFieldEditors::AddText(const FieldSpec& spec, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(spec.column));
    if (spec.maximum > 0)
        edit->setMaxLength(spec.maximum);
    m_editors.push_back({spec, edit});
    return edit;
}

// The spin box takes any 32-bit number, so that a number outside the range
// reaches the check and its message instead of being silently held back.
QSpinBox* CFieldEditors::AddNumber(const FieldSpec& spec, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromUtf8(spec.column));
    spin->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    m_editors.push_back({spec, spin});
    return spin;
}

CFieldEditors::Refusal CFieldEditors::Check(const QWidget* page) const {
    for (const Editor& editor : m_editors) {
        if (page && !page->isAncestorOf(editor.widget))
            continue;
        const std::string message = CheckFieldValue(editor.spec, Value(editor));
        if (!message.empty())
            return {editor.widget, ToQString(message)};
    }
    return {};
}

void CFieldEditors::SetValue(const Editor& editor, const FieldValue& value) {
    if (auto* edit = qobject_cast<QLineEdit*>(editor.widget))
        edit->setText(ToQString(FieldValueText(value)));
    else if (auto* spin = qobject_cast<QSpinBox*>(editor.widget))
        spin->setValue(static_cast<int>(std::get<int64_t>(value)));
}

FieldValue CFieldEditors::Value(const Editor& editor) {
    if (auto* edit = qobject_cast<QLineEdit*>(editor.widget))
        return edit->text().toStdString();
    return int64_t{qobject_cast<QSpinBox*>(editor.widget)->value()};
}
