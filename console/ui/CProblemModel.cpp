#include "CProblemModel.h"

#include "CReportList.h"
#include "CTarnIcons.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QBrush>

namespace {

constexpr unsigned kHeaderIds[] = {3024, 3025, 3020, 3021, 3022, 3023};

} // namespace

CProblemModel::Row CProblemModel::MakeRow(const DBHProblem& problem) {
    Row row;
    row.problem = problem;
    const auto status = static_cast<ProblemStatus>(problem.PROBLEM_STATUS);
    row.image = GetProblemStatusImage(status);
    row.texts[ColumnComputer] = ToQString(GetComputerDisplayText(problem.COMPUTER_NAME));
    row.texts[ColumnAudition] = ToQString(problem.AUDITION_NAME);
    if (row.image)
        row.texts[ColumnStatus] = ToQString(GetProblemStatusName(status));
    row.texts[ColumnBegin] = ToQString(TimeStampToDisplayText(problem.PROBLEM_BEGIN));
    if (!problem.PROBLEM_END.empty())
        row.texts[ColumnEnd] = ToQString(TimeStampToDisplayText(problem.PROBLEM_END));
    row.texts[ColumnDescription] = ToQString(problem.PROBLEM_DESCRIPTION);
    return row;
}

CProblemModel::CProblemModel(QObject* parent) : QAbstractTableModel(parent) {}

void CProblemModel::SetRows(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int CProblemModel::Add(const DBHProblem& problem) {
    const int row = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.push_back(MakeRow(problem));
    endInsertRows();
    return row;
}

int CProblemModel::Update(const DBHProblem& problem) {
    const int row = RowOfId(problem.PROBLEM_ID);
    if (row < 0)
        return -1;
    m_rows[static_cast<size_t>(row)] = MakeRow(problem);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    return row;
}

bool CProblemModel::Remove(int32_t problemId) {
    const int row = RowOfId(problemId);
    if (row < 0)
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
    return true;
}

int CProblemModel::RowOfId(int32_t problemId) const {
    for (size_t row = 0; row < m_rows.size(); ++row)
        if (m_rows[row].problem.PROBLEM_ID == problemId)
            return static_cast<int>(row);
    return -1;
}

int CProblemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CProblemModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CProblemModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row& row = m_rows[static_cast<size_t>(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return row.texts[static_cast<size_t>(column)];
    case CReportList::kSortRole: // time stamps sort as times in their 14-digit form
        if (column == ColumnBegin)
            return ToQString(row.problem.PROBLEM_BEGIN);
        if (column == ColumnEnd)
            return ToQString(row.problem.PROBLEM_END);
        return row.texts[static_cast<size_t>(column)];
    case Qt::DecorationRole:
        return column == ColumnComputer ? QVariant(CTarnIcons::ProblemImage(row.image))
                                        : QVariant();
    case Qt::BackgroundRole: {
        QColor tint = CTarnIcons::ProblemColour(row.image);
        tint.setAlpha(48);
        return QBrush(tint);
    }
    case kIdRole:
        return row.problem.PROBLEM_ID;
    default:
        return {};
    }
}

QVariant CProblemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return UiText(kHeaderIds[section]);
}
