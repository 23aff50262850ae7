// The notify profiles of the page "Aktionen": every stored profile, marked
// (state image 2, "Ja") when the audition notifies through it.
#pragma once

#include "CActiveStateModel.h"
#include "DBRecords.h"

class CNotifyProfileChoiceModel : public CActiveStateModel {
    Q_OBJECT
public:
    enum Column { ColumnName, ColumnActive, ColumnDescription, ColumnCount };

    explicit CNotifyProfileChoiceModel(QObject* parent = nullptr);

    void SetProfiles(const DBNotifyProfileList& profiles, const DBKeyList& chosen);
    // The keys of the marked profiles, in the order of the list.
    DBKeyList Chosen() const;

protected:
    QString Text(int row, int column) const override;
    int32_t RowId(int row) const override {
        return m_profiles[static_cast<size_t>(row)].PROFILE_ID;
    }

private:
    DBNotifyProfileList m_profiles;
};
