// The rows of a notify profile or notification list: key, name and
// description, in columns "Name" and "Beschreibung". A checkable list also
// keeps a mark per row (the state image: 1 unmarked, 2 marked, shown as a
// check box that a click toggles), and its order can be changed, since for
// the notifications of a profile the order of the marked rows is the order
// of sending.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <vector>

class CNamedEntryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColumnName, ColumnDescription, ColumnCount };
    static constexpr int kIdRole = Qt::UserRole + 1;
    static constexpr int kStateImageRole = Qt::UserRole + 2; // 1 unmarked, 2 marked

    struct Entry {
        int32_t id = 0;
        QString name;
        QString description;
        bool marked = false;
    };

    explicit CNamedEntryModel(bool checkable, QObject* parent = nullptr);

    void SetEntries(std::vector<Entry> entries);
    // Takes the entries read again: rows still there keep their place and
    // mark with the new texts, rows gone are dropped, new ones are appended
    // unmarked.
    void Refresh(const std::vector<Entry>& entries);
    // Moves a row one place up (-1) or down (+1); false at either end.
    bool MoveRow(int row, int step);
    const Entry& At(int row) const { return m_entries[static_cast<size_t>(row)]; }
    int RowOfId(int32_t id) const;
    // The keys of the marked rows, top to bottom.
    std::vector<int32_t> MarkedIds() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const bool m_bCheckable;
    std::vector<Entry> m_entries;
};
