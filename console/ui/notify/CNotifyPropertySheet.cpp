#include "CNotifyPropertySheet.h"

#include "CMessageBox.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CNotifyPropertySheet::CNotifyPropertySheet(const QString& caption, QWidget* parent)
    : QDialog(parent), m_pTabs(new QTabWidget),
      m_pButtons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)) {
    setWindowTitle(caption);
    m_pButtons->button(QDialogButtonBox::Ok)->setText(UiText(IDS_BUTTON_OK));
    m_pButtons->button(QDialogButtonBox::Cancel)->setText(UiText(IDS_BUTTON_CANCEL));
    connect(m_pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pTabs, &QTabWidget::currentChanged, this, &CNotifyPropertySheet::OnPageChanged);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTabs);
    layout->addWidget(m_pButtons);
}

void CNotifyPropertySheet::AddPage(QWidget* page, const QString& title, PageCheck check) {
    m_checks.push_back(std::move(check));
    m_pTabs->addTab(page, title);
}

// The page left must pass before another one is shown.
void CNotifyPropertySheet::OnPageChanged(int index) {
    if (m_bReturning)
        return;
    const int left = m_nCurrent;
    m_nCurrent = index;
    if (left == index || left >= static_cast<int>(m_checks.size()))
        return;
    CheckPage(left);
}

bool CNotifyPropertySheet::CheckPage(int index) {
    const PageCheck& check = m_checks[static_cast<size_t>(index)];
    const FieldRefusal refusal = check ? check() : FieldRefusal{};
    if (!refusal.Refused())
        return true;
    m_bReturning = true;
    m_pTabs->setCurrentIndex(index);
    m_nCurrent = index;
    m_bReturning = false;
    CMessageBox::Warning(this, refusal.message);
    CFieldWidgets::Select(refusal.widget);
    return false;
}

void CNotifyPropertySheet::accept() {
    for (int page = 0; page < static_cast<int>(m_checks.size()); ++page)
        if (!CheckPage(page))
            return;
    if (Apply())
        QDialog::accept();
}
