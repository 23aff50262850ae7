// The print queues of this computer as the printer selection lists them:
// name and description, and the driver (make and model) that CUPS reports.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

class CPrinterQueueModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColumnName, ColumnDescription, ColumnCount };

    struct Queue {
        QString name;
        QString description;
        QString driver;
    };

    // The queues of the computer's print system (CUPS), sorted by name; none
    // when the scheduler cannot be reached. May wait for the scheduler: call
    // it off the user-interface thread.
    static std::vector<Queue> ReadQueues();

    explicit CPrinterQueueModel(std::vector<Queue> queues, QObject* parent = nullptr);

    const Queue& At(int row) const { return m_queues[static_cast<size_t>(row)]; }
    int RowOfName(const QString& name) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<Queue> m_queues;
};
