// The editors of configuration fields and the transfer of a field's value
// between record and editor: a text field cut at the field's limit for
// texts, a number field stepping within the field's range for numbers, a
// check box for flags. The limits come from the field's spec only.
#pragma once

#include "ConfigField.h"

#include <QString>

class QWidget;

class CConfigFieldEditor {
public:
    // checkText labels the check box of a flag.
    static QWidget* Create(const FieldSpec& spec, const QString& checkText = {});
    static FieldValue Read(QWidget* editor, const FieldSpec& spec);
    static void Write(QWidget* editor, const FieldSpec& spec, const FieldValue& value);
};
