// The small progress window shown while long database work runs (the
// conversion of an older configuration file).
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

class CProgressDialog : public QDialog {
    Q_OBJECT
public:
    CProgressDialog(const QString& title, int low, int high, int step, QWidget* parent = nullptr);

    void SetText(const QString& text);
    void SetRange(int low, int high);
    void SetStep(int step);
    void SetPos(int position);
    // Lets waiting events run, then advances the bar by one step.
    void Step();

    int Pos() const { return m_nPos; }
    QString PercentShown() const;
    // (position − low) × 100 / (high − low) with "%", taken modulo 100 unless
    // it is exactly 100; empty when low equals high.
    static QString PercentText(int position, int low, int high);

private:
    void Refresh();

    QLabel* m_pText;
    QLabel* m_pPercent;
    QProgressBar* m_pBar;
    int m_nLow = 0;
    int m_nHigh = 100;
    int m_nStep = 1;
    int m_nPos = 0;
};
