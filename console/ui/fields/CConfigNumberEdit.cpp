#include "CConfigNumberEdit.h"

#include <algorithm>
#include <limits>

CConfigNumberEdit::CConfigNumberEdit(int minimum, int maximum, QWidget* parent)
    : QSpinBox(parent), m_nMinimum(minimum), m_nMaximum(maximum) {
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    setValue(minimum);
    setAccelerated(true);
}

void CConfigNumberEdit::stepBy(int steps) {
    const long long next = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(next, m_nMinimum, m_nMaximum)));
    selectAll();
}

QAbstractSpinBox::StepEnabled CConfigNumberEdit::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value() < m_nMaximum)
        enabled |= StepUpEnabled;
    if (value() > m_nMinimum)
        enabled |= StepDownEnabled;
    return enabled;
}
