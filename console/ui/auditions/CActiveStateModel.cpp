#include "CActiveStateModel.h"

#include "CReportList.h"
#include "TARNTool.h"
#include "UiText.h"

CActiveStateModel::CActiveStateModel(QStringList headers, int activeColumn, QObject* parent)
    : QAbstractTableModel(parent), m_headers(std::move(headers)), m_nActiveColumn(activeColumn) {}

void CActiveStateModel::SetActive(int row, bool active) {
    if (row < 0 || row >= rowCount() || IsActive(row) == active)
        return;
    m_active[static_cast<size_t>(row)] = active;
    const QModelIndex cell = index(row, m_nActiveColumn);
    emit dataChanged(cell, cell);
}

int CActiveStateModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_active.size());
}

int CActiveStateModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant CActiveStateModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    if (role == kIdRole)
        return RowId(row);
    if (index.column() == m_nActiveColumn) {
        if (role == Qt::CheckStateRole)
            return IsActive(row) ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::DisplayRole || role == CReportList::kSortRole)
            return ToQString(GetActiveStateText(IsActive(row)));
        return {};
    }
    if (role == Qt::DisplayRole || role == CReportList::kSortRole)
        return Text(row, index.column());
    return {};
}

bool CActiveStateModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || index.column() != m_nActiveColumn ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    SetActive(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags CActiveStateModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == m_nActiveColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant CActiveStateModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_headers.size())
        return {};
    return m_headers[section];
}
