// The problem list of the problem view: one row per stored problem. The
// display texts of a row are made once (MakeRow may run on any thread, so a
// large history is prepared away from the user interface thread).
#pragma once

#include "DBRecords.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

class CProblemModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColumnComputer,
        ColumnAudition,
        ColumnStatus,
        ColumnBegin,
        ColumnEnd,
        ColumnDescription,
        ColumnCount
    };
    static constexpr int kIdRole = Qt::UserRole + 1;

    struct Row {
        DBHProblem problem;
        std::array<QString, ColumnCount> texts;
        int image = 0; // status image: 2 open, 3 unresolved, 4 resolved, 0 unknown
    };
    static Row MakeRow(const DBHProblem& problem);

    explicit CProblemModel(QObject* parent = nullptr);

    void SetRows(std::vector<Row> rows);
    // Appends a problem and returns its row.
    int Add(const DBHProblem& problem);
    // Rewrites the row of the problem's id; -1 when there is none.
    int Update(const DBHProblem& problem);
    bool Remove(int32_t problemId);
    int RowOfId(int32_t problemId) const;
    const DBHProblem& Problem(int row) const { return m_rows[static_cast<size_t>(row)].problem; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<Row> m_rows;
};
