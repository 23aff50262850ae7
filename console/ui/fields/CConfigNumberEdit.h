// A number field of a configuration page: the arrows and keys step within the
// field's range, while any whole number can be typed, so that a value outside
// the range reaches the page's check and is refused there with its message
// rather than silently changed.
#pragma once

#include <QSpinBox>

class CConfigNumberEdit : public QSpinBox {
    Q_OBJECT
public:
    CConfigNumberEdit(int minimum, int maximum, QWidget* parent = nullptr);

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_nMinimum;
    int m_nMaximum;
};
