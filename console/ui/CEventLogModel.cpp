#include "CEventLogModel.h"

#include "CReportList.h"
#include "CTarnIcons.h"
#include "ProtocolFile.h"
#include "TARNTool.h"
#include "UiText.h"

namespace {

constexpr unsigned kHeaderIds[] = {3009, 3019, 3018, 3010};

} // namespace

CEventLogModel::CEventLogModel(QObject* parent) : QAbstractTableModel(parent) {}

void CEventLogModel::AddEvent(EventLine line) {
    if (static_cast<int>(m_lines.size()) > kMaxLines)
        Clear();
    line.index = m_nInserted++ & 0xFFFF;
    const int row = static_cast<int>(m_lines.size());
    beginInsertRows(QModelIndex(), row, row);
    m_lines.push_back(std::move(line));
    endInsertRows();
}

void CEventLogModel::Clear() {
    beginResetModel();
    m_lines.clear();
    endResetModel();
}

std::string CEventLogModel::ProtocolLine(int row) const {
    const EventLine& line = Line(row);
    return FormatProtocolLine(line.timeText.toStdString(), line.kind, line.audition.toStdString(),
                              line.computer.toStdString(), line.text.toStdString());
}

int CEventLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int CEventLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CEventLogModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const EventLine& line = Line(index.row());
    const int column = index.column();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole ||
        (role == CReportList::kSortRole && column != ColumnTime)) {
        switch (column) {
        case ColumnTime:
            return line.timeText;
        case ColumnComputer:
            return ToQString(GetComputerDisplayText(line.computer.toStdString()));
        case ColumnAudition:
            return line.audition;
        default:
            return line.text;
        }
    }
    if (role == CReportList::kSortRole) // times sort as times, equal times by arrival
        return static_cast<qint64>(line.time) * 0x10000 + line.index;
    if (role == Qt::DecorationRole && column == ColumnTime)
        return CTarnIcons::EventKind(line.kind);
    if (role == kKindRole)
        return line.kind;
    return {};
}

QVariant CEventLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return UiText(kHeaderIds[section]);
}
