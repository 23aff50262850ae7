#include "CAuditionListModel.h"

#include "AuditionComputer.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

CAuditionListModel::CAuditionListModel(QObject* parent)
    : CActiveStateModel({UiText(IDS_COLUMN_NAME), UiText(IDS_COLUMN_ACTIVE),
                         UiText(IDS_COLUMN_COMPUTER), UiText(IDS_COLUMN_DESCRIPTION)},
                        ColumnActive, parent) {
    connect(this, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first) { OnStateChanged(first); });
}

void CAuditionListModel::SetAuditions(const DBAuditionList& auditions) {
    std::vector<bool> active;
    std::map<int32_t, bool> changed;
    for (const DBAudition& audition : auditions) {
        const auto found = m_changed.find(audition.AUDITION_ID);
        if (found != m_changed.end())
            changed.insert(*found);
        active.push_back(found != m_changed.end() ? found->second : audition.ACTIVE);
    }
    ResetRows(std::move(active), [&] { m_auditions = auditions; });
    m_changed = std::move(changed);
}

int CAuditionListModel::RowOfId(int32_t auditionId) const {
    for (size_t row = 0; row < m_auditions.size(); ++row)
        if (m_auditions[row].AUDITION_ID == auditionId)
            return static_cast<int>(row);
    return -1;
}

void CAuditionListModel::OnStateChanged(const QModelIndex& cell) {
    if (cell.column() == ColumnActive)
        m_changed[Audition(cell.row()).AUDITION_ID] = IsActive(cell.row());
}

QString CAuditionListModel::Text(int row, int column) const {
    const DBAudition& audition = Audition(row);
    switch (column) {
    case ColumnName:
        return ToQString(audition.NAME);
    case ColumnComputer: {
        const std::string computer = AuditionComputerOf(audition);
        return computer.empty() ? UiText(IDS_COMPUTER_UNKNOWN) : ToQString(computer);
    }
    case ColumnDescription:
        return ToQString(audition.DESCRIPTION);
    default:
        return {};
    }
}
