#include "CViewLogDialog.h"

#include "CMessageBox.h"
#include "CReportList.h"
#include "MessageIds.h"
#include "ProtocolFile.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int kDescriptionPadding = 16;

} // namespace

CViewLogDialog::CViewLogDialog(QWidget* parent) : QWidget(parent) {
    m_pList = new CReportList(&m_model, {120, 100, 100, 200});
    m_pFilter = new QLineEdit;
    m_pFilter->setPlaceholderText(UiText(IDS_FILTER_HINT));
    m_pFilter->setClearButtonEnabled(true);
    auto* label = new QLabel(UiText(IDS_FILTER_LABEL));
    label->setBuddy(m_pFilter);
    connect(m_pFilter, &QLineEdit::textChanged, m_pList, &CReportList::SetFilterText);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(label);
    filterRow->addWidget(m_pFilter);
    auto* group = new QGroupBox(UiText(IDS_EVENT_VIEW_TITLE));
    auto* inner = new QVBoxLayout(group);
    inner->addLayout(filterRow);
    inner->addWidget(m_pList);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 10, 10);
    outer->addWidget(group);
    setTabOrder(m_pFilter, m_pList);
}

void CViewLogDialog::AddEvent(int kind, std::time_t time, const QString& computer,
                              const QString& audition, const QString& text,
                              const std::string& protocolFile) {
    EventLine line{kind, time, ToQString(FormatDisplayTime(time)), computer, audition, text, 0};
    m_model.AddEvent(line);
    WidenDescription(text);
    m_pList->scrollTo(m_pList->Proxy().mapFromSource(
        m_model.index(m_model.rowCount() - 1, CEventLogModel::ColumnTime)));
    if (!protocolFile.empty())
        AppendProtocolLine(protocolFile, m_model.ProtocolLine(m_model.rowCount() - 1));
}

// Every line is saved in the order of the list's sorting, also those a
// filter hides at the moment.
bool CViewLogDialog::Save(const QString& path) {
    QSortFilterProxyModel ordered;
    ordered.setSourceModel(&m_model);
    ordered.setSortRole(CReportList::kSortRole);
    ordered.setSortCaseSensitivity(Qt::CaseInsensitive);
    ordered.sort(m_pList->Proxy().sortColumn(), m_pList->Proxy().sortOrder());
    QFile::remove(path);
    const std::string file = path.toStdString();
    for (int row = 0; row < ordered.rowCount(); ++row) {
        const int source = ordered.mapToSource(ordered.index(row, 0)).row();
        if (!AppendProtocolLine(file, m_model.ProtocolLine(source)))
            return false;
    }
    return true;
}

void CViewLogDialog::Clear() {
    m_model.Clear();
    m_nWidestText = 0;
}

void CViewLogDialog::SaveAndReport(const QString& path, const QString& caption) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool saved = Save(path);
    QApplication::restoreOverrideCursor();
    if (saved)
        CMessageBox::Information(this, UiText(IDS_SAVED), caption);
    else
        CMessageBox::Error(this, UiText(IDS_NOT_SAVED));
}

void CViewLogDialog::AskAndClear(const QString& caption) {
    if (CMessageBox::Ask(this, UiText(IDS_ASK_CLEAR), caption,
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) ==
        QMessageBox::Yes)
        Clear();
}

void CViewLogDialog::WidenDescription(const QString& text) {
    const int width = m_pList->fontMetrics().horizontalAdvance(text) + kDescriptionPadding;
    if (width <= m_nWidestText)
        return;
    m_nWidestText = width;
    if (width > m_pList->columnWidth(CEventLogModel::ColumnDescription))
        m_pList->setColumnWidth(CEventLogModel::ColumnDescription, width);
}
