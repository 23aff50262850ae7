#include "CPrinterSelectionDialog.h"

#include "CReportList.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

CPrinterSelectionDialog::CPrinterSelectionDialog(std::vector<CPrinterQueueModel::Queue> queues,
                                                 const QString& current, QWidget* parent)
    : QDialog(parent), m_model(std::move(queues)), m_pList(new CReportList(&m_model, {160, 220})) {
    setWindowTitle(UiText(IDS_PRINTER_SELECTION));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(UiText(IDS_BUTTON_OK));
    buttons->button(QDialogButtonBox::Cancel)->setText(UiText(IDS_BUTTON_CANCEL));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pList, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    layout->addWidget(buttons);
    auto updateOk = [this, ok] { ok->setEnabled(Selected() != nullptr); };
    connect(m_pList->selectionModel(), &QItemSelectionModel::selectionChanged, this, updateOk);
    m_pList->SelectSourceRow(m_model.RowOfName(current));
    updateOk();
    resize(440, 300);
}

const CPrinterQueueModel::Queue* CPrinterSelectionDialog::Selected() const {
    const int row = m_pList->CurrentSourceRow();
    return row >= 0 ? &m_model.At(row) : nullptr;
}
