// A report-style list over one of the console's table models: a sort and
// filter proxy in between, sorting by any column in both directions (by the
// model's sort key, so times sort as times), and narrowing to the rows that
// contain a text in any column.
#pragma once

#include <QSortFilterProxyModel>
#include <QTreeView>

#include <vector>

class CReportList : public QTreeView {
    Q_OBJECT
public:
    // The role under which the models give the value a column sorts by.
    static constexpr int kSortRole = Qt::UserRole + 10;

    CReportList(QAbstractItemModel* source, const std::vector<int>& columnWidths,
                QWidget* parent = nullptr);

    QSortFilterProxyModel& Proxy() { return m_proxy; }
    // The source row of a row as shown, and back (-1 for none).
    int SourceRow(int shownRow) const;
    int ShownRow(int sourceRow) const;
    // The source row of the current line, -1 for none.
    int CurrentSourceRow() const;
    void SelectSourceRow(int sourceRow);

    void SetFilterText(const QString& text);
    std::vector<int> ColumnWidths() const;
    void SetColumnWidths(const std::vector<int>& widths);

private:
    QSortFilterProxyModel m_proxy;
};
