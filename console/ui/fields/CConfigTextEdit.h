// A one-line text field of a configuration page: what is typed or pasted is
// cut at the field's limit, counted in characters as the configuration rules
// count them. A stored text that is already longer is shown whole, so that
// nothing is lost unseen; the page's check refuses it.
#pragma once

#include <QLineEdit>

class CConfigTextEdit : public QLineEdit {
    Q_OBJECT
public:
    // limit 0: no limit.
    explicit CConfigTextEdit(int limit, QWidget* parent = nullptr);

    int Limit() const { return m_nLimit; }

private:
    void CutAtLimit();

    int m_nLimit;
};
