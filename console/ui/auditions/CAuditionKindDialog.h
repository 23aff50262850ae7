// The selection dialog of a new audition: a tree of the audition kinds with
// the objects that can be watched below them (the agents' computers with
// their watched applications and services from "TARN.CFG", the installed
// plug-ins); the log file and network kinds need no object. OK on an entry
// gives the new audition of its kind, named by the kind, with the entry's
// fields; OK on a heading says 1012 and the dialog stays open.
#pragma once

#include "AuditionSheetContext.h"
#include "DBRecords.h"

#include <QDialog>
#include <QStandardItemModel>

#include <vector>

class QStandardItem;
class QTreeView;

class CAuditionKindDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kEntryRole = Qt::UserRole + 1; // index into the entries, -1 for a heading

    explicit CAuditionKindDialog(const AuditionSheetContext& context, QWidget* parent = nullptr);

    QTreeView& Tree() { return *m_pTree; }
    QStandardItemModel& Model() { return m_model; }
    // The new audition of the chosen entry (after OK).
    const DBAudition& Chosen() const { return m_chosen; }

    void accept() override;

private:
    void Build(const AuditionSheetContext& context);
    QStandardItem* AddHeading(QStandardItem* parent, const QString& text);
    void AddEntry(QStandardItem* parent, const QString& text, DBAudition audition);

    QStandardItemModel m_model;
    QTreeView* m_pTree = nullptr;
    std::vector<DBAudition> m_entries;
    DBAudition m_chosen;
};
