#include "CPrinterQueueModel.h"

#include "CReportList.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <cups/cups.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// A scheduler that does not answer a connection within this time has none.
constexpr int kConnectTimeoutMs = 30000;

// The queue of an attribute group of the scheduler's answer, when it has a name.
void AddQueue(CPrinterQueueModel::Queue& queue, std::vector<CPrinterQueueModel::Queue>& queues) {
    if (!queue.name.isEmpty())
        queues.push_back(queue);
    queue = {};
}

void ReadAttribute(ipp_attribute_t* attribute, CPrinterQueueModel::Queue& queue) {
    const char* name = ippGetName(attribute);
    const QString value = QString::fromUtf8(ippGetString(attribute, 0, nullptr));
    if (std::strcmp(name, "printer-name") == 0)
        queue.name = value;
    else if (std::strcmp(name, "printer-info") == 0)
        queue.description = value;
    else if (std::strcmp(name, "printer-make-and-model") == 0)
        queue.driver = value;
}

} // namespace

// Asks the scheduler of this computer (CUPS_SERVER, else the local one) for
// its queues; printers only it knows of, no network discovery.
std::vector<CPrinterQueueModel::Queue> CPrinterQueueModel::ReadQueues() {
    std::vector<Queue> queues;
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                kConnectTimeoutMs, nullptr);
    if (!http)
        return queues;
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    static const char* const kAttributes[] = {"printer-name", "printer-info",
                                              "printer-make-and-model"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
    ipp_t* response = cupsDoRequest(http, request, "/");
    Queue queue;
    for (ipp_attribute_t* attribute = ippFirstAttribute(response); attribute;
         attribute = ippNextAttribute(response)) {
        if (ippGetGroupTag(attribute) != IPP_TAG_PRINTER || !ippGetName(attribute))
            AddQueue(queue, queues);
        else if (ippGetValueTag(attribute) == IPP_TAG_NAME ||
                 ippGetValueTag(attribute) == IPP_TAG_TEXT)
            ReadAttribute(attribute, queue);
    }
    AddQueue(queue, queues);
    ippDelete(response);
    httpClose(http);
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
