// The editors of one page or sheet bound to fields of a record type: the page
// asks for the editor of a column, the binder creates it from the field table
// of the configuration rules and later moves values between record and
// editors. A value refused by its field's limits, or an error of the rules'
// check of the whole record, is mapped back to its editor.
#pragma once

#include "CFieldWidgets.h"
#include "ConfigField.h"
#include "LUTool.h"

#include <QLineEdit>

#include <string_view>
#include <vector>

template <class Record> class CFieldBinder {
public:
    explicit CFieldBinder(const ConfigFieldTable<Record>& table) : m_table(table) {}

    // The new editor of the column, named after it; checkText labels the
    // check box of a flag.
    QWidget* Add(const char* column, const QString& checkText = {}) {
        const ConfigField<Record>* field = FindField(m_table, column);
        TARN_ASSERT(field != nullptr, "Feld nicht in der Feldtabelle");
        if (!field)
            return new QLineEdit;
        QWidget* editor = CFieldWidgets::Create(field->spec, checkText);
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
            CFieldWidgets::Write(binding.editor, binding.field->spec, binding.field->get(record));
    }

    void Store(Record& record) const {
        for (const Binding& binding : m_bindings)
            binding.field->put(record, CFieldWidgets::Read(binding.editor, binding.field->spec));
    }

    // The first editor on page (on any page when null) whose value its
    // field's limits refuse.
    FieldRefusal Check(const QWidget* page = nullptr) const {
        for (const Binding& binding : m_bindings) {
            if (page && !page->isAncestorOf(binding.editor))
                continue;
            const FieldSpec& spec = binding.field->spec;
            const std::string message =
                CheckFieldValue(spec, CFieldWidgets::Read(binding.editor, spec));
            if (!message.empty())
                return {QString::fromStdString(message), binding.editor};
        }
        return {};
    }

    // The first of the rules' errors that belongs to a field bound here.
    FieldRefusal RefusalOf(const ConfigErrors& errors) const {
        for (const ConfigError& error : errors)
            if (QWidget* editor = Editor(error.field.c_str()))
                return {QString::fromStdString(error.message), editor};
        return {};
    }

private:
    struct Binding {
        const ConfigField<Record>* field;
        QWidget* editor;
    };

    const ConfigFieldTable<Record>& m_table;
    std::vector<Binding> m_bindings;
};
