// The editors of a sheet's configuration fields. Each editor is made from the
// field's description in the rule tables (console/config, FieldSpec): a text
// field is cut at the field's limit as it is typed or loaded, a number field
// takes any whole number and the rules' check refuses the ones outside the
// range when the page is left, with the message of the rules. The editor's object name is
// the column name.
#pragma once

#include "ConfigField.h"

#include <QString>

#include <vector>

class QLineEdit;
class QSpinBox;
class QWidget;

class CFieldEditors {
public:
    // A text editor for a Text field, a spin box for a Number field.
    QLineEdit* AddText(const FieldSpec& spec, QWidget* parent);
    QSpinBox* AddNumber(const FieldSpec& spec, QWidget* parent);

    template <class Record> void Load(const ConfigFieldTable<Record>& table, const Record& record) {
        for (const Editor& editor : m_editors)
            if (const auto* field = FindField(table, editor.spec.column))
                SetValue(editor, field->get(record));
    }
    template <class Record>
    void Store(const ConfigFieldTable<Record>& table, Record& record) const {
        for (const Editor& editor : m_editors)
            if (const auto* field = FindField(table, editor.spec.column))
                field->put(record, Value(editor));
    }
    // The first editor on page (on any page when null) whose value the
    // rules refuse, with the message; no widget when all pass.
    struct Refusal {
        QWidget* widget = nullptr;
        QString message;
    };
    Refusal Check(const QWidget* page = nullptr) const;

private:
    struct Editor {
        FieldSpec spec;
        QWidget* widget;
    };
    static void SetValue(const Editor& editor, const FieldValue& value);
    static FieldValue Value(const Editor& editor);

    std::vector<Editor> m_editors;
};
