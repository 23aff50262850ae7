// The installed plug-ins as the plug-in sheet lists them: type number, name,
// version and description, in the order the plug-in list holds them.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <vector>

class CPluginList;

struct PluginRow {
    int32_t type = 0;
    QString name;
    QString version;
    QString description;
};

class CPluginListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColumnType, ColumnName, ColumnVersion, ColumnDescription, ColumnCount };

    explicit CPluginListModel(QObject* parent = nullptr);

    // Shows a copy of what the list holds now.
    void Fill(const CPluginList& plugins);
    void SetRows(std::vector<PluginRow> rows);
    const PluginRow& Row(int row) const { return m_rows[static_cast<size_t>(row)]; }
    // The row of the plug-in of the type, -1 for none.
    int RowOfType(int32_t type) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<PluginRow> m_rows;
};
