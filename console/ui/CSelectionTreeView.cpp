#include "CSelectionTreeView.h"

#include "CTarnIcons.h"
#include "StringTable.h"
#include "UiText.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace {

constexpr unsigned kFirstEntry = 2001; // 2000 "Main Tree Start" is not an item
constexpr unsigned kEndEntry = 2040;   // "Main Tree End"

struct TreeEntry {
    int level = -1;
    int id = 0;
    int image = 0;
    QString text;
};

// "level;id;image;text"; the text keeps any further ";".
TreeEntry ParseEntry(const std::string& line) {
    const QString text = ToQString(line);
    TreeEntry entry;
    entry.level = text.section(QLatin1Char(';'), 0, 0).toInt();
    entry.id = text.section(QLatin1Char(';'), 1, 1).toInt();
    entry.image = text.section(QLatin1Char(';'), 2, 2).toInt();
    entry.text = text.section(QLatin1Char(';'), 3);
    if (text.count(QLatin1Char(';')) < 3)
        entry.level = -1; // malformed: treated as an empty slot
    return entry;
}

} // namespace

CSelectionTreeView::CSelectionTreeView(QWidget* parent) : QTreeView(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    std::vector<QStandardItem*> expanded;
    BuildModel(m_model, LoadTarnString, expanded);
    setModel(&m_model);
    for (QStandardItem* item : expanded)
        expand(item->index());
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnCurrentChanged(current); });
    connect(this, &QTreeView::doubleClicked, this,
            [this](const QModelIndex& index) { RequestCommand(index); });
}

unsigned CSelectionTreeView::Build(QStandardItem* parent, int level, unsigned entry,
                                   const EntryLoader& load, std::vector<QStandardItem*>& expanded) {
    QStandardItem* last = nullptr;
    while (entry < kEndEntry) {
        const TreeEntry item = ParseEntry(load(entry));
        if (item.level < 0) {
            ++entry; // an empty slot ends nothing
        } else if (item.level > level) {
            if (!last) { // a child with no node above it has no place
                ++entry;
                continue;
            }
            entry = Build(last, level + 1, entry, load, expanded);
            expanded.push_back(last);
        } else if (item.level < level) {
            return entry;
        } else {
            last = new QStandardItem(CTarnIcons::TreeImage(item.image), item.text);
            last->setData(item.id, kIdRole);
            last->setData(item.image, kImageRole);
            last->setEditable(false);
            parent->appendRow(last);
            ++entry;
        }
    }
    return entry;
}

void CSelectionTreeView::BuildModel(QStandardItemModel& model, const EntryLoader& load,
                                    std::vector<QStandardItem*>& expanded) {
    model.clear();
    Build(model.invisibleRootItem(), 0, kFirstEntry, load, expanded);
}

void CSelectionTreeView::SelectId(int id) {
    const QModelIndexList found =
        m_model.match(m_model.index(0, 0), kIdRole, id, 1, Qt::MatchExactly | Qt::MatchRecursive);
    if (!found.isEmpty())
        setCurrentIndex(found.first());
}

void CSelectionTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        RequestCommand(currentIndex());
        return;
    }
    QTreeView::keyPressEvent(event);
}

void CSelectionTreeView::OnCurrentChanged(const QModelIndex& current) {
    const int id = current.data(kIdRole).toInt();
    if (id != 0)
        emit viewRequested(id);
}

void CSelectionTreeView::RequestCommand(const QModelIndex& index) {
    const int id = index.data(kIdRole).toInt();
    if (id != 0)
        emit commandRequested(id);
}
