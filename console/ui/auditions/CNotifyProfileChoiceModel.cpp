#include "CNotifyProfileChoiceModel.h"

#include "MessageIds.h"
#include "UiText.h"

#include <algorithm>

CNotifyProfileChoiceModel::CNotifyProfileChoiceModel(QObject* parent)
    : CActiveStateModel(
          {UiText(IDS_COLUMN_NAME), UiText(IDS_COLUMN_ACTIVE), UiText(IDS_COLUMN_DESCRIPTION)},
          ColumnActive, parent) {}

void CNotifyProfileChoiceModel::SetProfiles(const DBNotifyProfileList& profiles,
                                            const DBKeyList& chosen) {
    std::vector<bool> active;
    for (const DBNotifyProfile& profile : profiles)
        active.push_back(std::find(chosen.begin(), chosen.end(), profile.PROFILE_ID) !=
                         chosen.end());
    ResetRows(std::move(active), [&] { m_profiles = profiles; });
}

DBKeyList CNotifyProfileChoiceModel::Chosen() const {
    DBKeyList keys;
    for (int row = 0; row < rowCount(); ++row)
        if (IsActive(row))
            keys.push_back(RowId(row));
    return keys;
}

QString CNotifyProfileChoiceModel::Text(int row, int column) const {
    const DBNotifyProfile& profile = m_profiles[static_cast<size_t>(row)];
    return ToQString(column == ColumnName ? profile.NAME : profile.DESCRIPTION);
}
