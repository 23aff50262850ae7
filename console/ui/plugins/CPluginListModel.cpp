#include "CPluginListModel.h"

#include "CPluginList.h"
#include "CReportList.h"
#include "MessageIds.h"
#include "UiText.h"

namespace {

QString CellText(const PluginRow& row, int column) {
    switch (column) {
    case CPluginListModel::ColumnType:
        return QString::number(row.type);
    case CPluginListModel::ColumnName:
        return row.name;
    case CPluginListModel::ColumnVersion:
        return row.version;
    default:
        return row.description;
    }
}

} // namespace

CPluginListModel::CPluginListModel(QObject* parent) : QAbstractTableModel(parent) {}

void CPluginListModel::Fill(const CPluginList& plugins) {
    std::vector<PluginRow> rows;
    const size_t count = plugins.GetCount();
    for (size_t i = 0; i < count; ++i) {
        const PluginInfo info = plugins.Get(i).GetPluginInfo();
        rows.push_back({info.Type, ToQString(info.Name), ToQString(info.Version),
                        ToQString(info.Description)});
    }
    SetRows(std::move(rows));
}

void CPluginListModel::SetRows(std::vector<PluginRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int CPluginListModel::RowOfType(int32_t type) const {
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].type == type)
            return static_cast<int>(i);
    return -1;
}

int CPluginListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CPluginListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CPluginListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const PluginRow& row = Row(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return CellText(row, index.column());
    case Qt::ToolTipRole: // a description may be longer than its column
        return index.column() == ColumnDescription ? QVariant(row.description) : QVariant();
    case CReportList::kSortRole: // type numbers sort as numbers
        return index.column() == ColumnType ? QVariant(row.type)
                                            : QVariant(CellText(row, index.column()));
    default:
        return {};
    }
}

QVariant CPluginListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const unsigned headers[ColumnCount] = {IDS_PLUGIN_COLUMN_TYPE, IDS_PLUGIN_COLUMN_NAME,
                                                  IDS_PLUGIN_COLUMN_VERSION,
                                                  IDS_PLUGIN_COLUMN_DESCRIPTION};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return UiText(headers[section]);
}
