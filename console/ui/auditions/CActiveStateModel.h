// A configuration list with an "active" column: the state image of each row
// is a check mark (state image 2, "Ja") or none (state image 1, "Nein"), and a
// click on it toggles the row. Subclasses keep the rows' records and give
// the texts of the other columns.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <cstdint>
#include <vector>

class CActiveStateModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kIdRole = Qt::UserRole + 1;

    CActiveStateModel(QStringList headers, int activeColumn, QObject* parent = nullptr);

    bool IsActive(int row) const { return m_active[static_cast<size_t>(row)]; }
    void SetActive(int row, bool active);
    void Toggle(int row) { SetActive(row, !IsActive(row)); }
    int ActiveColumn() const { return m_nActiveColumn; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    // The text of a column other than the active one.
    virtual QString Text(int row, int column) const = 0;
    // The key of the row's record.
    virtual int32_t RowId(int row) const = 0;
    // Replaces every row: assign installs the subclass's records, active the states.
    template <class Assign> void ResetRows(std::vector<bool> active, Assign assign) {
        beginResetModel();
        assign();
        m_active = std::move(active);
        endResetModel();
    }

private:
    QStringList m_headers;
    int m_nActiveColumn;
    std::vector<bool> m_active;
};
