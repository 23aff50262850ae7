// A property sheet of the notification configuration: pages on tabs with OK
// and Cancel. A page is checked when it is left and again on OK; a refused
// value shows its message (caption 1100), brings its page back and selects
// the field. OK stores through Apply, Cancel stores nothing.
#pragma once

#include "CFieldWidgets.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

class QDialogButtonBox;
class QTabWidget;

class CNotifyPropertySheet : public QDialog {
    Q_OBJECT
public:
    using PageCheck = std::function<FieldRefusal()>;

    CNotifyPropertySheet(const QString& caption, QWidget* parent);

    void AddPage(QWidget* page, const QString& title, PageCheck check = {});
    QTabWidget& Tabs() { return *m_pTabs; }
    QDialogButtonBox& Buttons() { return *m_pButtons; }

    // Checks every page in order, then stores; stays open when a page refuses
    // or storing fails.
    void accept() override;

protected:
    // Stores what the pages hold; false keeps the sheet open.
    virtual bool Apply() = 0;
    // The check of the page: a refusal shows its message and its page.
    bool CheckPage(int index);

private:
    void OnPageChanged(int index);

    QTabWidget* m_pTabs;
    QDialogButtonBox* m_pButtons;
    std::vector<PageCheck> m_checks;
    int m_nCurrent = 0;
    bool m_bReturning = false;
};
