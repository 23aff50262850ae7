// One page of the audition property sheet. Its widgets are bound to columns of
// the audition type's field table (CAuditionRules), so that filling the page,
// collecting it and the limit checks are the same on every page and come from
// the configuration rules, never from the widgets.
#pragma once

#include "CAuditionRules.h"

#include <QWidget>

#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QFormLayout;
class QLineEdit;

class CAuditionPage : public QWidget {
    Q_OBJECT
public:
    CAuditionPage(AuditionType type, QString title, QWidget* parent = nullptr);

    const QString& Title() const { return m_strTitle; }
    AuditionType Type() const { return m_type; }

    // Fills the bound widgets from the record.
    virtual void Load(const DBAudition& record);
    // Writes the bound widgets into the record (after Validate passed).
    virtual void Store(DBAudition& record) const;
    // Checks every bound field against its limit; the first refused one is
    // reported in a box, then focused and selected. False when one was refused.
    virtual bool Validate();
    // Focuses the widget bound to the column; false when the page has none.
    bool SelectField(const std::string& column);

signals:
    // A refused value is about to be reported: the sheet shows this page.
    void showRequested(CAuditionPage* page);

protected:
    // A labelled line bound to the column, with an optional unit after it.
    QLineEdit* AddLine(QFormLayout* form, const QString& label, const char* column,
                       const QString& unit = {});
    void BindLine(const char* column, QLineEdit* line, const QString& label);
    void BindFlag(const char* column, QAbstractButton* box);
    // A group of radio buttons whose ids are the column's values.
    void BindChoice(const char* column, QButtonGroup* group, const QString& label);
    // Reports a refused value of a field and selects the field.
    void Refuse(const std::string& column, const QString& label, const std::string& message);

private:
    struct Binding {
        const ConfigField<DBAudition>* field = nullptr;
        QLineEdit* line = nullptr;
        QAbstractButton* flag = nullptr;
        QButtonGroup* group = nullptr;
        QString label;
    };

    void Bind(const char* column, Binding binding);
    // The widget's value; for a line the message of a text that is no number.
    std::string ReadValue(const Binding& binding, FieldValue& value) const;

    AuditionType m_type;
    QString m_strTitle;
    std::vector<Binding> m_bindings;
};
