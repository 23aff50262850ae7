// The list of the sheet "Überwachungen": one row per audition with its name,
// its active state as shown (changes are kept here until the sheet applies
// them), its computer ("unbekannt" when empty) and its description.
#pragma once

#include "CActiveStateModel.h"
#include "DBRecords.h"

#include <map>

class CAuditionListModel : public CActiveStateModel {
    Q_OBJECT
public:
    enum Column { ColumnName, ColumnActive, ColumnComputer, ColumnDescription, ColumnCount };

    explicit CAuditionListModel(QObject* parent = nullptr);

    // Shows the stored auditions; a row whose state was changed and not yet
    // applied keeps the state shown.
    void SetAuditions(const DBAuditionList& auditions);
    // The changed states are now stored.
    void ForgetChanges() { m_changed.clear(); }
    const DBAudition& Audition(int row) const { return m_auditions[static_cast<size_t>(row)]; }
    int RowOfId(int32_t auditionId) const;

protected:
    QString Text(int row, int column) const override;
    int32_t RowId(int row) const override { return Audition(row).AUDITION_ID; }

private:
    DBAuditionList m_auditions;
    std::map<int32_t, bool> m_changed; // audition key -> state shown, not yet stored

    void OnStateChanged(const QModelIndex& cell);
};
