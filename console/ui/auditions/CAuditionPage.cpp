#include "CAuditionPage.h"

#include "CFieldWidgets.h"
#include "CMessageBox.h"
#include "LUTool.h"
#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"
#include "UiText.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// A label as the message names it: without its mnemonic and closing colon.
QString PlainLabel(QString label) {
    label.remove(QLatin1Char('&'));
    while (label.endsWith(QLatin1Char(':')) || label.endsWith(QLatin1Char(' ')))
        label.chop(1);
    return label;
}

} // namespace

CAuditionPage::CAuditionPage(AuditionType type, QString title, QWidget* parent)
    : QWidget(parent), m_type(type), m_strTitle(std::move(title)) {}

QLineEdit* CAuditionPage::AddLine(QFormLayout* form, const QString& label, const char* column,
                                  const QString& unit) {
    auto* line = new QLineEdit;
    if (unit.isEmpty()) {
        form->addRow(label, line);
    } else {
        auto* row = new QHBoxLayout;
        row->addWidget(line);
        row->addWidget(new QLabel(unit));
        form->addRow(label, row);
    }
    BindLine(column, line, label);
    return line;
}

void CAuditionPage::BindLine(const char* column, QLineEdit* line, const QString& label) {
    Binding binding;
    binding.line = line;
    binding.label = label;
    Bind(column, binding);
}

void CAuditionPage::BindFlag(const char* column, QAbstractButton* box) {
    Binding binding;
    binding.flag = box;
    binding.label = box->text();
    Bind(column, binding);
}

void CAuditionPage::BindChoice(const char* column, QButtonGroup* group, const QString& label) {
    Binding binding;
    binding.group = group;
    binding.label = label;
    Bind(column, binding);
}

// Every bound column is one of the type's fields; the widget is found by it.
void CAuditionPage::Bind(const char* column, Binding binding) {
    binding.field = FindField(CAuditionRules::Fields(m_type), column);
    TARN_ASSERT(binding.field != nullptr, "Feld der Überwachung unbekannt");
    if (!binding.field)
        return;
    if (QWidget* widget = binding.line ? static_cast<QWidget*>(binding.line) : binding.flag)
        widget->setObjectName(QString::fromLatin1(column));
    if (binding.group)
        binding.group->setObjectName(QString::fromLatin1(column));
    m_bindings.push_back(binding);
}

void CAuditionPage::Load(const DBAudition& record) {
    for (const Binding& binding : m_bindings) {
        const FieldValue value = binding.field->get(record);
        if (binding.line)
            binding.line->setText(ToQString(FieldValueText(value)));
        else if (binding.flag)
            binding.flag->setChecked(std::get<int64_t>(value) != 0);
        else if (QAbstractButton* button =
                     binding.group->button(static_cast<int>(std::get<int64_t>(value))))
            button->setChecked(true);
        else if (!binding.group->buttons().isEmpty())
            binding.group->buttons().first()->setChecked(true);
    }
}

std::string CAuditionPage::ReadValue(const Binding& binding, FieldValue& value) const {
    if (binding.line)
        return ParseFieldValue(binding.field->spec, binding.line->text().toStdString(), value);
    value = int64_t{binding.flag ? binding.flag->isChecked() : binding.group->checkedId()};
    return {};
}

void CAuditionPage::Store(DBAudition& record) const {
    for (const Binding& binding : m_bindings) {
        FieldValue value;
        if (ReadValue(binding, value).empty())
            binding.field->put(record, value);
    }
}

bool CAuditionPage::Validate() {
    for (const Binding& binding : m_bindings) {
        FieldValue value;
        std::string message = ReadValue(binding, value);
        if (message.empty())
            message = CheckFieldValue(binding.field->spec, value);
        if (!message.empty()) {
            Refuse(binding.field->spec.column, binding.label, message);
            return false;
        }
    }
    return true;
}

void CAuditionPage::Refuse(const std::string& column, const QString& label,
                           const std::string& message) {
    emit showRequested(this);
    CMessageBox::Warning(this, ToQString(FillMessage(LoadTarnString(IDS_FIELD_REFUSED),
                                                     {PlainLabel(label).toStdString(), message})));
    SelectField(column);
}

bool CAuditionPage::SelectField(const std::string& column) {
    for (const Binding& binding : m_bindings) {
        if (column != binding.field->spec.column)
            continue;
        if (!binding.group)
            CFieldWidgets::Select(binding.line ? static_cast<QWidget*>(binding.line)
                                               : binding.flag);
        else if (QAbstractButton* checked = binding.group->checkedButton())
            checked->setFocus();
        return true;
    }
    return false;
}
