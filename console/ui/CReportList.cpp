#include "CReportList.h"

#include <QHeaderView>

CReportList::CReportList(QAbstractItemModel* source, const std::vector<int>& columnWidths,
                         QWidget* parent)
    : QTreeView(parent) {
    m_proxy.setSourceModel(source);
    m_proxy.setSortRole(kSortRole);
    m_proxy.setFilterKeyColumn(-1);
    m_proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_proxy.setSortCaseSensitivity(Qt::CaseInsensitive);
    setModel(&m_proxy);
    setRootIsDecorated(false);
    setUniformRowHeights(true); // keeps long lists fast
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    header()->setSortIndicator(-1, Qt::AscendingOrder); // insertion order until a header click
    header()->setStretchLastSection(false);
    setSortingEnabled(true);
    SetColumnWidths(columnWidths);
}

int CReportList::SourceRow(int shownRow) const {
    return m_proxy.mapToSource(m_proxy.index(shownRow, 0)).row();
}

int CReportList::ShownRow(int sourceRow) const {
    if (sourceRow < 0)
        return -1;
    return m_proxy.mapFromSource(m_proxy.sourceModel()->index(sourceRow, 0)).row();
}

int CReportList::CurrentSourceRow() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (selected.isEmpty())
        return -1;
    return m_proxy.mapToSource(selected.first()).row();
}

void CReportList::SelectSourceRow(int sourceRow) {
    const int shown = ShownRow(sourceRow);
    if (shown < 0) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = m_proxy.index(shown, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

void CReportList::SetFilterText(const QString& text) {
    m_proxy.setFilterFixedString(text);
}

std::vector<int> CReportList::ColumnWidths() const {
    std::vector<int> widths;
    for (int column = 0; column < header()->count(); ++column)
        widths.push_back(columnWidth(column));
    return widths;
}

void CReportList::SetColumnWidths(const std::vector<int>& widths) {
    for (size_t column = 0; column < widths.size(); ++column)
        if (widths[column] > 0)
            setColumnWidth(static_cast<int>(column), widths[column]);
}
