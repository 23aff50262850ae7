// The editors of one page bound to fields of a record type: the page asks
// for the editor of a column, the binder creates it from the field table of
// the configuration rules and later moves values between record and editors.
// A refused field found by the rules' check is mapped back to its editor.
#pragma once

#include "CConfigFieldEditor.h"
#include "ConfigField.h"
#include "LUTool.h"

#include <QLineEdit>

#include <vector>

template <class Record> class CFieldBinder {
public:
    explicit CFieldBinder(const ConfigFieldTable<Record>& table) : m_table(table) {}

    // The new editor of the column; checkText labels the check box of a flag.
    QWidget* Add(const char* column, const QString& checkText = {}) {
        const ConfigField<Record>* field = FindField(m_table, column);
        TARN_ASSERT(field != nullptr, "Feld nicht in der Feldtabelle");
        if (!field)
            return new QLineEdit;
        QWidget* editor = CConfigFieldEditor::Create(field->spec, checkText);
        editor->setObjectName(QString::fromLatin1(column));
        m_bindings.push_back({field, editor});
        return editor;
    }

    QWidget* Editor(const char* column) const {
        for (const Binding& binding : m_bindings)
            if (std::string_view(binding.field->spec.column) == column)
                return binding.editor;
        return nullptr;
    }

    void Load(const Record& record) const {
        for (const Binding& binding : m_bindings)
            CConfigFieldEditor::Write(binding.editor, binding.field->spec,
                                      binding.field->get(record));
    }

    void Store(Record& record) const {
        for (const Binding& binding : m_bindings)
            binding.field->put(record,
                               CConfigFieldEditor::Read(binding.editor, binding.field->spec));
    }

    // The first error that belongs to a field of this page, with its editor;
    // null when none does.
    const ConfigError* FindError(const ConfigErrors& errors, QWidget*& editor) const {
        for (const ConfigError& error : errors) {
            editor = Editor(error.field.c_str());
            if (editor)
                return &error;
        }
        return nullptr;
    }

private:
    struct Binding {
        const ConfigField<Record>* field;
        QWidget* editor;
    };

    const ConfigFieldTable<Record>& m_table;
    std::vector<Binding> m_bindings;
};
