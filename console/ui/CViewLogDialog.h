// The event view: the running list of what the console does, each line also
// appended to the protocol file. Lines arrive on the user interface thread
// (the view bridge brings them over from the worker threads).
#pragma once

#include "CEventLogModel.h"

#include <QWidget>

#include <ctime>
#include <string>

class CReportList;
class QLineEdit;

class CViewLogDialog : public QWidget {
    Q_OBJECT
public:
    explicit CViewLogDialog(QWidget* parent = nullptr);

    // Shows the line and appends it to protocolFile unless that is empty (a
    // failing write is ignored: the line is still shown).
    void AddEvent(int kind, std::time_t time, const QString& computer, const QString& audition,
                  const QString& text, const std::string& protocolFile);
    // Replaces the file with every line in the list's order; false at the first
    // failing write. An empty view leaves no file.
    bool Save(const QString& path);
    // Removes every line and forgets the widest description.
    void Clear();
    // The commands: save with the result in a box (4003 or 4004), and clear
    // after question 4005 (yes only). caption: the application's title.
    void SaveAndReport(const QString& path, const QString& caption);
    void AskAndClear(const QString& caption);

    CEventLogModel& Model() { return m_model; }
    CReportList& List() { return *m_pList; }
    QLineEdit& Filter() { return *m_pFilter; }

private:
    void WidenDescription(const QString& text);

    CEventLogModel m_model;
    CReportList* m_pList;
    QLineEdit* m_pFilter;
    int m_nWidestText = 0;
};
