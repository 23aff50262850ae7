// The event list of the problem view: the history events of one problem.
#pragma once

#include "DBRecords.h"

#include <QAbstractTableModel>

#include <vector>

class CProblemEventModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColumnCategory, ColumnTime, ColumnDescription, ColumnCount };

    explicit CProblemEventModel(QObject* parent = nullptr);

    void SetEvents(std::vector<DBHEvent> events);
    void Add(const DBHEvent& event);
    void Clear() { SetEvents({}); }
    const DBHEvent& Event(int row) const { return m_events[static_cast<size_t>(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<DBHEvent> m_events;
};
