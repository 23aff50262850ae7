#include "CProblemEventModel.h"

#include "CReportList.h"
#include "CTarnIcons.h"
#include "TARNTool.h"
#include "UiText.h"

namespace {

constexpr unsigned kHeaderIds[] = {3026, 3027, 3028};

QString ColumnText(const DBHEvent& event, int column) {
    switch (column) {
    case CProblemEventModel::ColumnCategory:
        return ToQString(GetEventCategoryName(event.CATEGORY));
    case CProblemEventModel::ColumnTime:
        return ToQString(TimeStampToDisplayText(event.DATE));
    default:
        return ToQString(event.EVENT_DESCRIPTION);
    }
}

} // namespace

CProblemEventModel::CProblemEventModel(QObject* parent) : QAbstractTableModel(parent) {}

void CProblemEventModel::SetEvents(std::vector<DBHEvent> events) {
    beginResetModel();
    m_events = std::move(events);
    endResetModel();
}

void CProblemEventModel::Add(const DBHEvent& event) {
    const int row = static_cast<int>(m_events.size());
    beginInsertRows(QModelIndex(), row, row);
    m_events.push_back(event);
    endInsertRows();
}

int CProblemEventModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_events.size());
}

int CProblemEventModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CProblemEventModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const DBHEvent& event = Event(index.row());
    const int column = index.column();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return ColumnText(event, column);
    if (role == CReportList::kSortRole)
        return column == ColumnTime ? ToQString(event.DATE) : ColumnText(event, column);
    if (role == Qt::DecorationRole && column == ColumnCategory)
        return CTarnIcons::ProblemEventImage(GetEventCategoryImage(event.CATEGORY));
    return {};
}

QVariant CProblemEventModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return UiText(kHeaderIds[section]);
}
