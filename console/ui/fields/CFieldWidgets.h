// The widgets of configuration fields and the transfer of a field's value
// between record and widget: a text field cut at the field's limit for
// texts, a number field stepping within the field's range for numbers, a
// check box for flags. The limits come from the field's FieldSpec only.
#pragma once

#include "ConfigField.h"

#include <QString>

class QWidget;

// What a check refuses: the message and the widget to select. An empty
// message means the values pass.
struct FieldRefusal {
    QString message;
    QWidget* widget = nullptr;

    bool Refused() const { return !message.isEmpty(); }
};

class CFieldWidgets {
public:
    // checkText labels the check box of a flag.
    static QWidget* Create(const FieldSpec& spec, const QString& checkText = {});
    static FieldValue Read(QWidget* editor, const FieldSpec& spec);
    static void Write(QWidget* editor, const FieldSpec& spec, const FieldValue& value);
    // Focuses the widget and selects its text, so that a refused value can
    // be typed over at once.
    static void Select(QWidget* widget);
};
