// "Druckerauswahl": the print queues of this computer in a list; the queue
// of the page is selected when it is among them. OK (or a double click)
// takes the selected queue.
#pragma once

#include "CPrinterQueueModel.h"

#include <QDialog>

class CReportList;

class CPrinterSelectionDialog : public QDialog {
    Q_OBJECT
public:
    CPrinterSelectionDialog(std::vector<CPrinterQueueModel::Queue> queues, const QString& current,
                            QWidget* parent = nullptr);

    CPrinterQueueModel& Model() { return m_model; }
    CReportList& List() { return *m_pList; }
    // The queue chosen; null when none is selected.
    const CPrinterQueueModel::Queue* Selected() const;

private:
    CPrinterQueueModel m_model;
    CReportList* m_pList;
};
