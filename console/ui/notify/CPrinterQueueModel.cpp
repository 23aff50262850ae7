#include "CPrinterQueueModel.h"

#include "CReportList.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QPrinterInfo>

#include <algorithm>

std::vector<CPrinterQueueModel::Queue> CPrinterQueueModel::ReadQueues() {
    std::vector<Queue> queues;
    for (const QPrinterInfo& printer : QPrinterInfo::availablePrinters())
        queues.push_back({printer.printerName(), printer.description(), printer.makeAndModel()});
    std::sort(queues.begin(), queues.end(), [](const Queue& a, const Queue& b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    return queues;
}

CPrinterQueueModel::CPrinterQueueModel(std::vector<Queue> queues, QObject* parent)
    : QAbstractTableModel(parent), m_queues(std::move(queues)) {}

int CPrinterQueueModel::RowOfName(const QString& name) const {
    for (size_t row = 0; row < m_queues.size(); ++row)
        if (m_queues[row].name == name)
            return static_cast<int>(row);
    return -1;
}

int CPrinterQueueModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_queues.size());
}

int CPrinterQueueModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CPrinterQueueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() ||
        (role != Qt::DisplayRole && role != CReportList::kSortRole))
        return {};
    const Queue& queue = At(index.row());
    return index.column() == ColumnName ? queue.name : queue.description;
}

QVariant CPrinterQueueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return UiText(section == ColumnName ? IDS_COLUMN_NAME : IDS_COLUMN_DESCRIPTION);
}
