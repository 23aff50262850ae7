// The sheet "Überwachungen": every audition with its active state. Adding goes
// through the selection dialog and the property sheet; editing opens the
// property sheet; removing asks first and lets a plug-in clean up. Activating,
// deactivating and the double click only change what the list shows until
// Apply or OK stores the states of every row.
#pragma once

#include "AuditionSheetContext.h"
#include "CAuditionListModel.h"

#include <QDialog>

class CConsoleEngine;
class CReportList;
class QMenu;

class CAuditionListSheet : public QDialog {
    Q_OBJECT
public:
    explicit CAuditionListSheet(const AuditionSheetContext& context, QWidget* parent = nullptr);

    // The command "Überwachungen" of the running console: stores the
    // auditions stopped at run time as inactive, shows the sheet, then brings
    // the engine's audition list in line with the database.
    static void Run(CConsoleEngine& engine, const AuditionSheetContext& context, QWidget* parent);

    CReportList& List() { return *m_pList; }
    CAuditionListModel& Model() { return m_model; }
    // The context menu of the list: add, edit, remove, activate, deactivate.
    QMenu* MakeContextMenu();

    void Add();
    void Edit();
    void Remove();
    // Sets the state of every selected row.
    void SetSelectedActive(bool active);
    // Apply: the plug-in check, then every row's state in list order; false
    // when the check failed (nothing was stored).
    bool Apply();
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    int SelectedRow() const;
    // 1034 when an active plug-in audition's plug-in is not installed.
    bool CheckPlugins();
    void OpenProperties(int32_t auditionId);

    const AuditionSheetContext& m_context;
    CAuditionListModel m_model;
    CReportList* m_pList = nullptr;
};
