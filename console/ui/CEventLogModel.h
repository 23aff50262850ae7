// The lines of the event view: at most 501 in memory (a line that arrives
// while more than 500 are held empties the list first). The protocol file
// keeps every line; this model only shows them.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <ctime>
#include <vector>

struct EventLine {
    int kind = 0;
    std::time_t time = 0;
    QString timeText;
    QString computer; // as stored: empty when the line belongs to no computer
    QString audition;
    QString text;
    int index = 0; // insertion number, for a stable order among equal times
};

class CEventLogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColumnTime, ColumnComputer, ColumnAudition, ColumnDescription, ColumnCount };
    static constexpr int kMaxLines = 500; // more than this empties the list
    static constexpr int kKindRole = Qt::UserRole + 1;

    explicit CEventLogModel(QObject* parent = nullptr);

    // Appends a line (emptying the list first when it holds more than 500).
    void AddEvent(EventLine line);
    void Clear();
    const EventLine& Line(int row) const { return m_lines[static_cast<size_t>(row)]; }
    // The line in the protocol file's format (the computer as shown).
    std::string ProtocolLine(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<EventLine> m_lines;
    int m_nInserted = 0;
};
