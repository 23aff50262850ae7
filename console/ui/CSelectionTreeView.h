// The selection tree on the left of the main window, built once from the
// string entries 2001 to 2039 ("level;id;image;text"). Selecting an entry with
// an id asks for that view; double-clicking it (or Enter) asks for its command.
#pragma once

#include <QStandardItemModel>
#include <QTreeView>

#include <functional>
#include <string>
#include <vector>

class CSelectionTreeView : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kIdRole = Qt::UserRole + 1;
    static constexpr int kImageRole = Qt::UserRole + 2;

    explicit CSelectionTreeView(QWidget* parent = nullptr);

    // Builds the tree below parent from the entries loaded by load, starting at
    // entry, for the given level; returns the entry at which that level ended.
    // Parents of a deeper level are collected in expanded.
    using EntryLoader = std::function<std::string(unsigned)>;
    static unsigned Build(QStandardItem* parent, int level, unsigned entry, const EntryLoader& load,
                          std::vector<QStandardItem*>& expanded);
    // Fills a model with the whole tree (entries 2001 to 2039).
    static void BuildModel(QStandardItemModel& model, const EntryLoader& load,
                           std::vector<QStandardItem*>& expanded);

    // Selects the entry whose id is id (none: nothing).
    void SelectId(int id);

signals:
    void viewRequested(int id);
    void commandRequested(int id);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnCurrentChanged(const QModelIndex& current);
    void RequestCommand(const QModelIndex& index);

    QStandardItemModel m_model;
};
