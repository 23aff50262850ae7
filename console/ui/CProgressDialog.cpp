#include "CProgressDialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

CProgressDialog::CProgressDialog(const QString& title, int low, int high, int step, QWidget* parent)
    : QDialog(parent), m_pText(new QLabel), m_pPercent(new QLabel), m_pBar(new QProgressBar) {
    setWindowTitle(title);
    m_pBar->setTextVisible(false);
    m_pPercent->setMinimumWidth(
        m_pPercent->fontMetrics().horizontalAdvance(QStringLiteral("100%")));
    m_pPercent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* row = new QHBoxLayout;
    row->addWidget(m_pBar, 1);
    row->addWidget(m_pPercent);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pText);
    layout->addLayout(row);
    setMinimumWidth(320);
    m_nStep = step;
    SetRange(low, high);
    SetPos(low);
    raise();
    activateWindow();
}

void CProgressDialog::SetText(const QString& text) {
    m_pText->setText(text);
}

void CProgressDialog::SetRange(int low, int high) {
    m_nLow = low;
    m_nHigh = high;
    m_pBar->setRange(low, std::max(low, high));
    Refresh();
}

void CProgressDialog::SetStep(int step) {
    m_nStep = step;
}

void CProgressDialog::SetPos(int position) {
    m_nPos = position;
    Refresh();
}

void CProgressDialog::Step() {
    QCoreApplication::processEvents();
    SetPos(m_nPos + m_nStep);
}

QString CProgressDialog::PercentShown() const {
    return m_pPercent->text();
}

QString CProgressDialog::PercentText(int position, int low, int high) {
    if (low == high)
        return {};
    int percent = static_cast<int>(static_cast<long long>(position - low) * 100 / (high - low));
    if (percent != 100)
        percent %= 100;
    return QStringLiteral("%1%").arg(percent);
}

void CProgressDialog::Refresh() {
    m_pBar->setValue(std::clamp(m_nPos, m_pBar->minimum(), m_pBar->maximum()));
    const QString text = PercentText(m_nPos, m_nLow, m_nHigh);
    if (text != m_pPercent->text())
        m_pPercent->setText(text);
}
