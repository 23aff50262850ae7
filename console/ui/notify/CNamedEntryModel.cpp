#include "CNamedEntryModel.h"

#include "CReportList.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <algorithm>

CNamedEntryModel::CNamedEntryModel(bool checkable, QObject* parent)
    : QAbstractTableModel(parent), m_bCheckable(checkable) {}

void CNamedEntryModel::SetEntries(std::vector<Entry> entries) {
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void CNamedEntryModel::Refresh(const std::vector<Entry>& entries) {
    auto find = [&entries](int32_t id) {
        return std::find_if(entries.begin(), entries.end(),
                            [id](const Entry& entry) { return entry.id == id; });
    };
    std::vector<Entry> kept;
    for (const Entry& old : m_entries) {
        auto found = find(old.id);
        if (found == entries.end())
            continue;
        Entry entry = *found;
        entry.marked = old.marked;
        kept.push_back(std::move(entry));
    }
    for (const Entry& entry : entries) {
        if (RowOfId(entry.id) < 0) {
            kept.push_back(entry);
            kept.back().marked = false;
        }
    }
    SetEntries(std::move(kept));
}

bool CNamedEntryModel::MoveRow(int row, int step) {
    const int target = row + step;
    if (row < 0 || row >= rowCount() || target < 0 || target >= rowCount() || step == 0)
        return false;
    // beginMoveRows names the row before which the moved row lands.
    const int destination = step > 0 ? target + 1 : target;
    beginMoveRows({}, row, row, {}, destination);
    std::swap(m_entries[static_cast<size_t>(row)], m_entries[static_cast<size_t>(target)]);
    endMoveRows();
    return true;
}

int CNamedEntryModel::RowOfId(int32_t id) const {
    for (size_t row = 0; row < m_entries.size(); ++row)
        if (m_entries[row].id == id)
            return static_cast<int>(row);
    return -1;
}

std::vector<int32_t> CNamedEntryModel::MarkedIds() const {
    std::vector<int32_t> ids;
    for (const Entry& entry : m_entries)
        if (entry.marked)
            ids.push_back(entry.id);
    return ids;
}

int CNamedEntryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int CNamedEntryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CNamedEntryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Entry& entry = At(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case CReportList::kSortRole:
        return index.column() == ColumnName ? entry.name : entry.description;
    case Qt::CheckStateRole:
        if (m_bCheckable && index.column() == ColumnName)
            return entry.marked ? Qt::Checked : Qt::Unchecked;
        return {};
    case kStateImageRole:
        return m_bCheckable ? QVariant(entry.marked ? 2 : 1) : QVariant();
    case kIdRole:
        return entry.id;
    default:
        return {};
    }
}

bool CNamedEntryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!m_bCheckable || role != Qt::CheckStateRole || !index.isValid() ||
        index.column() != ColumnName || index.row() >= rowCount())
        return false;
    m_entries[static_cast<size_t>(index.row())].marked =
        value.value<Qt::CheckState>() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole, kStateImageRole});
    return true;
}

Qt::ItemFlags CNamedEntryModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_bCheckable && index.column() == ColumnName)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant CNamedEntryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return UiText(section == ColumnName ? IDS_COLUMN_NAME : IDS_COLUMN_DESCRIPTION);
}
